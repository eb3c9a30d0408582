// The panel: its own window class, which paints its colour and passes its children's
// notifications on to the form.
#include "controls/win32/lib_panel.h"

#include "controls/win32/house_look.h"
#include "platform/text.h"

namespace velmo::controls {
namespace {

constexpr wchar_t kPanelClass[] = L"TLibPanel";

}  // namespace

TLibPanel::TLibPanel(HWND parent, int id, const Bounds& bounds, HFONT font,
                     std::string_view caption)
    : colour_(GetSysColor(COLOR_MENU)) {
    RegisterPlainWindowClass(kPanelClass);
    Create(kPanelClass, WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent,
           id, bounds, caption);
    SetOriginalStyle(true);
    if (font) SetFont(font);
    SetBounds(bounds);
}

void TLibPanel::SetOriginalStyle(bool on) {
    if (on == originalStyle_) return;
    originalStyle_ = on;
    if (!on) return;
    SetColour(GetSysColor(COLOR_MENU));
    bevel_ = 0;  // flat
    SetFont(BoldOf(Font()));
    Bounds b = GetBounds();
    b.height = 24;
    b.width = 89;
    SetBounds(b);
}

void TLibPanel::SetColour(COLORREF colour) {
    colour_ = colour;
    // The children paint on the panel's colour too.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TLibPanel::SetLoweredBevel(int width) {
    bevel_ = width;
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    SetWindowLongW(Handle(), GWL_STYLE, style | WS_BORDER);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
}

void TLibPanel::SetTextColour(COLORREF colour) {
    textColour_ = colour;
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TLibPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return OnEraseBackground(wParam);
        case WM_PAINT:
            return OnPaint();
        case WM_SETFONT:
            return OnSetFont(wParam, lParam);
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case kGetBackgroundBrush:
            return reinterpret_cast<LRESULT>(SolidBrushOf(colour_));
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
            return OnChildNotification(message, wParam, lParam);
        default:
            return Default(message, wParam, lParam);
    }
}

LRESULT TLibPanel::OnEraseBackground(WPARAM wParam) {
    RECT r;
    GetClientRect(Handle(), &r);
    FillRect(reinterpret_cast<HDC>(wParam), &r, SolidBrushOf(colour_));
    return TRUE;
}

LRESULT TLibPanel::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT r;
    GetClientRect(Handle(), &r);
    if (bevel_ > 0) {
        for (int i = 0; i < bevel_; ++i) {
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
            InflateRect(&r, -1, -1);
        }
    }
    std::wstring caption = platform::Cp932ToWide(Text());
    if (!caption.empty()) {
        HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, textColour_ != CLR_INVALID ? textColour_ : GetSysColor(COLOR_WINDOWTEXT));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    EndPaint(Handle(), &ps);
    return 0;
}

LRESULT TLibPanel::OnSetFont(WPARAM wParam, LPARAM lParam) {
    font_ = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(lParam)) InvalidateRect(Handle(), nullptr, TRUE);
    return 0;
}

// A child's notification: first to the child itself, then up to the form that handles it.
LRESULT TLibPanel::OnChildNotification(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(Handle(), message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
            return SendMessageW(GetParent(Handle()), message, wParam, lParam);
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace velmo::controls
