// The house look shared by the control family: its fonts and fixed colours.
#pragma once

#include <windows.h>

#include <string_view>

namespace velmo::controls {

inline constexpr std::string_view kFormFace = "ＭＳ ゴシック";
inline constexpr std::string_view kPanelFace = "ＭＳ Ｐゴシック";
inline constexpr int kHouseFontPixels = 16;  // 12 points on a 96 dpi screen

inline constexpr COLORREF kSilver = RGB(192, 192, 192);
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kGreen = RGB(0, 128, 0);
inline constexpr COLORREF kPurple = RGB(128, 0, 128);

// A 16-pixel Shift-JIS font of the face (CP932), made once and kept for the process.
HFONT HouseFont(std::string_view face, bool bold = true);
// The face name of a font, CP932.
std::string FaceOf(HFONT font);
// The same font in bold.
HFONT BoldOf(HFONT font);
// A solid brush of the colour, made once and kept for the process.
HBRUSH SolidBrushOf(COLORREF colour);

// Registers (once per name) a window class that does nothing of its own: its procedure is
// DefWindowProcW and the object that owns each window does the work.
void RegisterPlainWindowClass(const wchar_t* name, HBRUSH background = nullptr);

}  // namespace velmo::controls
