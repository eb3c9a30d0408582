// The push button: house look, glyph, and Enter performing the click.
#include "controls/win32/lib_bt_btn.h"

#include "controls/win32/house_look.h"

namespace velmo::controls {

TLibBtBtn::TLibBtBtn(HWND parent, int id, const Bounds& bounds, std::string_view caption) {
    Create(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, parent, id, bounds, caption);
    SetOriginalStyle(true);
    SetBounds(bounds);  // the layout's place wins over the look's height
}

void TLibBtBtn::SetOriginalStyle(bool on) {
    if (on == originalStyle_) return;
    originalStyle_ = on;
    if (!on) return;
    // Never the default button; the container's font; 24 pixels high.
    SendMessageW(Handle(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(GetParent(Handle()), WM_GETFONT, 0, 0)))
        SetFont(BoldOf(font));
    Bounds b = GetBounds();
    b.height = 24;
    SetBounds(b);
}

void TLibBtBtn::SetGlyph(HBITMAP glyph) {
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    SetWindowLongW(Handle(), GWL_STYLE, style | BS_BITMAP);
    SendMessageW(Handle(), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph));
}

void TLibBtBtn::Click() {
    if (!IsWindowEnabled(Handle())) return;
    SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(Id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Handle()));
}

LRESULT TLibBtBtn::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return OnGetDlgCode(wParam, lParam);
        case WM_KEYDOWN:
            return OnKeyDown(wParam, lParam);
        default:
            return Default(message, wParam, lParam);
    }
}

// Enter belongs to the focused button, not to the window's default command.
LRESULT TLibBtBtn::OnGetDlgCode(WPARAM wParam, LPARAM lParam) {
    LRESULT code = Default(WM_GETDLGCODE, wParam, lParam);
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && msg->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT TLibBtBtn::OnKeyDown(WPARAM wParam, LPARAM lParam) {
    if (wParam == VK_RETURN) {
        Click();
        return 0;
    }
    return Default(WM_KEYDOWN, wParam, lParam);
}

}  // namespace velmo::controls
