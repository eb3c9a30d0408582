// Fonts and brushes of the house look, made on first use and shared by every window.
#include "controls/win32/house_look.h"

#include <map>
#include <string>
#include <tuple>

#include "platform/text.h"

namespace velmo::controls {

HFONT HouseFont(std::string_view face, bool bold) {
    static std::map<std::pair<std::string, bool>, HFONT> fonts;
    auto key = std::make_pair(std::string(face), bold);
    if (auto it = fonts.find(key); it != fonts.end()) return it->second;
    LOGFONTW lf{};
    lf.lfHeight = -kHouseFontPixels;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    std::wstring wide = platform::Cp932ToWide(face);
    wcsncpy(lf.lfFaceName, wide.c_str(), LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectW(&lf);
    fonts.emplace(key, font);
    return font;
}

std::string FaceOf(HFONT font) {
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof lf, &lf)) return {};
    return platform::WideToCp932(lf.lfFaceName);
}

HFONT BoldOf(HFONT font) {
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof lf, &lf)) return HouseFont(kFormFace, true);
    if (lf.lfWeight >= FW_BOLD) return font;
    return HouseFont(platform::WideToCp932(lf.lfFaceName), true);
}

HBRUSH SolidBrushOf(COLORREF colour) {
    static std::map<COLORREF, HBRUSH> brushes;
    if (auto it = brushes.find(colour); it != brushes.end()) return it->second;
    HBRUSH brush = CreateSolidBrush(colour);
    brushes.emplace(colour, brush);
    return brush;
}

void RegisterPlainWindowClass(const wchar_t* name, HBRUSH background) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

}  // namespace velmo::controls
