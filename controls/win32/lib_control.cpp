// The control family's base: subclassing, CP932 text, places and the parent's notifications.
#include "controls/win32/lib_control.h"

#include <commctrl.h>

#include <stdexcept>

#include "platform/text.h"

namespace velmo::controls {
namespace {

constexpr wchar_t kObjectProperty[] = L"VelmoControl";
constexpr UINT_PTR kSubclassId = 0x564C;  // any number unique to us on the window

HWND ChildOfNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return reinterpret_cast<HWND>(lParam);
        case WM_DRAWITEM:
            return reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        case WM_MEASUREITEM:
            return GetDlgItem(parent, static_cast<int>(wParam));
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<HWND>(lParam);
        default:
            return nullptr;
    }
}

}  // namespace

LRESULT CALLBACK ControlSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR refData) {
    auto* control = reinterpret_cast<TLibControl*>(refData);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, ControlSubclassProc, kSubclassId);
        RemovePropW(hwnd, kObjectProperty);
        control->hwnd_ = nullptr;
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    return control->WindowProc(message, wParam, lParam);
}

TLibControl::~TLibControl() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void TLibControl::Create(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id,
                         const Bounds& b, std::string_view text) {
    hwnd_ = CreateWindowExW(exStyle, className, platform::Cp932ToWide(text).c_str(),
                            style | WS_CHILD, b.left, b.top, b.width, b.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) throw std::runtime_error("CreateWindowEx failed");
    SetPropW(hwnd_, kObjectProperty, this);
    SetWindowSubclass(hwnd_, ControlSubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    // Every control starts in its parent's font, as a container's children do.
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0))) SetFont(font);
}

LRESULT TLibControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT TLibControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(hwnd_, message, wParam, lParam);
}

int TLibControl::Id() const { return GetDlgCtrlID(hwnd_); }

std::string TLibControl::Text() const {
    int n = GetWindowTextLengthW(hwnd_);
    std::wstring wide(static_cast<std::size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd_, wide.data(), n + 1);
    wide.resize(static_cast<std::size_t>(n));
    return platform::WideToCp932(wide);
}

void TLibControl::SetText(std::string_view text) {
    SetWindowTextW(hwnd_, platform::Cp932ToWide(text).c_str());
}

Bounds TLibControl::GetBounds() const {
    RECT r;
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TLibControl::SetBounds(const Bounds& b) {
    SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLibControl::SetTop(int top) {
    Bounds b = GetBounds();
    b.top = top;
    SetBounds(b);
}

void TLibControl::SetLeft(int left) {
    Bounds b = GetBounds();
    b.left = left;
    SetBounds(b);
}

bool TLibControl::Visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void TLibControl::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

bool TLibControl::Enabled() const { return IsWindowEnabled(hwnd_) != 0; }

void TLibControl::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }

void TLibControl::SetFocus() { ::SetFocus(hwnd_); }

bool TLibControl::Focused() const { return GetFocus() == hwnd_; }

HFONT TLibControl::Font() const {
    return reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
}

void TLibControl::SetFont(HFONT font) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

TLibControl* TLibControl::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<TLibControl*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

bool TLibControl::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            result = reinterpret_cast<LRESULT>(ControlColour(reinterpret_cast<HDC>(wParam)));
            return result != 0;
        default:
            return false;
    }
}

HBRUSH TLibControl::ControlColour(HDC dc) {
    HBRUSH brush = BackgroundBrushOf(GetParent(hwnd_));
    if (brush) SetBkMode(dc, TRANSPARENT);
    return brush;
}

bool TLibControl::ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT& result) {
    HWND child = ChildOfNotification(parent, message, wParam, lParam);
    // Only the control's own parent hands it back: a panel's child is not the form's.
    if (TLibControl* control = FromHandle(child); control && GetParent(child) == parent)
        return control->Reflected(message, wParam, lParam, result);
    return false;
}

HBRUSH BackgroundBrushOf(HWND window) {
    return reinterpret_cast<HBRUSH>(SendMessageW(window, kGetBackgroundBrush, 0, 0));
}

}  // namespace velmo::controls
