// The static label and its blue house look.
#include "controls/win32/lib_label.h"

#include "controls/win32/house_look.h"

namespace velmo::controls {

TLibLabel::TLibLabel(HWND parent, int id, const Bounds& bounds, std::string_view caption) {
    Create(L"STATIC", SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0, parent, id, bounds, caption);
}

void TLibLabel::SetOriginalStyle(bool on) {
    if (on == originalStyle_) return;
    originalStyle_ = on;
    if (!on) return;  // nothing is undone
    styled_ = true;
    LONG style = GetWindowLongW(Handle(), GWL_STYLE) & ~(SS_LEFT | SS_RIGHT | SS_CENTER);
    SetWindowLongW(Handle(), GWL_STYLE, style | SS_CENTER | SS_CENTERIMAGE);
    SetFont(BoldOf(Font()));
    Bounds b = GetBounds();
    b.height = 24;
    SetBounds(b);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLibLabel::SetTextColour(COLORREF colour) {
    textColour_ = colour;
    InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH TLibLabel::ControlColour(HDC dc) {
    if (styled_) {
        SetTextColor(dc, kWhite);
        SetBkColor(dc, kBlue);
        return SolidBrushOf(kBlue);
    }
    if (textColour_ != CLR_INVALID) SetTextColor(dc, textColour_);
    return TLibControl::ControlColour(dc);
}

}  // namespace velmo::controls
