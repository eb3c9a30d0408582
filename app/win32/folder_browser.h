// The plain system folder browser behind the folder buttons.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace velmo::app {

// The chosen folder (CP932), or nullopt when the operator cancelled. Starts at startFolder.
std::optional<std::string> BrowseForFolder(HWND owner, const std::string& caption,
                                           const std::string& startFolder);

}  // namespace velmo::app
