// The small pictures on the window's glyph buttons.
#pragma once

#include <windows.h>

namespace velmo::app {

// A 16 × 16 folder, drawn once and kept for the process.
HBITMAP FolderGlyph();

}  // namespace velmo::app
