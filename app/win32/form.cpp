// The window base: one registered class per form, messages to their handlers, modal loops.
#include "app/win32/form.h"

#include <exception>
#include <set>
#include <stdexcept>

#include "app/win32/alerts.h"
#include "platform/text.h"

namespace velmo::app {

LRESULT CALLBACK FormWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

constexpr wchar_t kFormProperty[] = L"VelmoForm";

// Dialog extra bytes and DefDlgProc underneath: the dialog manager's focus moves
// (WM_NEXTDLGCTL) and focus restore on activation then work in our windows too.
void RegisterFormClass(const wchar_t* className) {
    static std::set<std::wstring> registered;
    if (registered.count(className)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormWindowProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) throw std::runtime_error("RegisterClassEx failed");
    registered.insert(className);
}

}  // namespace

LRESULT CALLBACK FormWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetPropW(hwnd, kFormProperty, form);
    }
    TForm* form = static_cast<TForm*>(GetPropW(hwnd, kFormProperty));
    if (!form) return DefDlgProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, kFormProperty);
        form->hwnd_ = nullptr;
        return DefDlgProcW(hwnd, message, wParam, lParam);
    }
    return form->Dispatch(message, wParam, lParam);
}

TForm::TForm(const wchar_t* className, std::string_view caption, const FormStyle& style, HWND owner,
             int clientWidth, int clientHeight) {
    RegisterFormClass(className);
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style.style, FALSE, style.exStyle);
    On(WM_COMMAND, [this](WPARAM w, LPARAM l) { return OnCommand(w, l); });
    for (UINT m : {WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLORBTN, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX,
                   WM_CTLCOLORSTATIC})
        On(m, [this, m](WPARAM w, LPARAM l) { return OnChildNotification(m, w, l); });
    On(WM_GETFONT, [this](WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(font_); });
    CreateWindowExW(style.exStyle | WS_EX_CONTROLPARENT, className,
                    platform::Cp932ToWide(caption).c_str(), style.style | WS_CLIPCHILDREN,
                    CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, owner,
                    nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_) throw std::runtime_error("CreateWindowEx failed");
}

TForm::~TForm() {
    // The derived parts are gone: their handlers must not run while the window dies.
    handlers_.clear();
    clicks_.clear();
    if (hwnd_) DestroyWindow(hwnd_);
}

void TForm::DestroyHandle() {
    if (hwnd_) DestroyWindow(hwnd_);
}

TForm* TForm::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<TForm*>(GetPropW(hwnd, kFormProperty)) : nullptr;
}

void TForm::On(UINT message, Handler handler) { handlers_[message] = std::move(handler); }

void TForm::OnClick(const controls::TLibControl& control, std::function<void()> handler) {
    clicks_[control.Handle()] = std::move(handler);
}

LRESULT TForm::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefDlgProcW(hwnd_, message, wParam, lParam);
}

// An exception never crosses the window procedure: it is shown, and the program goes on.
LRESULT TForm::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = handlers_.find(message);
    if (it == handlers_.end()) return DefaultHandling(message, wParam, lParam);
    try {
        return it->second(wParam, lParam);
    } catch (const std::exception& e) {
        ShowError(hwnd_, e.what());
    } catch (...) {
        ShowError(hwnd_, "Unknown error");
    }
    return 0;
}

LRESULT TForm::OnCommand(WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (controls::TLibControl::ReflectToChild(hwnd_, WM_COMMAND, wParam, lParam, result))
        return result;
    if (HIWORD(wParam) == BN_CLICKED) {
        auto it = clicks_.find(reinterpret_cast<HWND>(lParam));
        if (it != clicks_.end()) {
            // A copy: the handler may run a whole message loop that changes the table.
            std::function<void()> handler = it->second;
            handler();
        }
    }
    return 0;
}

LRESULT TForm::OnChildNotification(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (controls::TLibControl::ReflectToChild(hwnd_, message, wParam, lParam, result))
        return result;
    return DefaultHandling(message, wParam, lParam);
}

std::string TForm::Caption() const {
    int n = GetWindowTextLengthW(hwnd_);
    std::wstring wide(static_cast<std::size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd_, wide.data(), n + 1);
    wide.resize(static_cast<std::size_t>(n));
    return platform::WideToCp932(wide);
}

void TForm::SetCaption(std::string_view caption) {
    SetWindowTextW(hwnd_, platform::Cp932ToWide(caption).c_str());
}

void TForm::SetFont(HFONT font) {
    font_ = font;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

int TForm::ShowModal() {
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    modal_ = true;
    modalResult_ = 0;
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    MSG msg;
    while (modalResult_ == 0 && IsWindow(hwnd_)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The quit request belongs to the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            if (modalResult_ == 0) modalResult_ = IDCANCEL;
            break;
        }
        DispatchOne(msg);
    }
    // The owner first: activation goes back to it, not to some other program.
    if (owner) EnableWindow(owner, TRUE);
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
    if (owner) SetActiveWindow(owner);
    modal_ = false;
    return modalResult_;
}

RECT TForm::WindowBounds() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

SIZE TForm::ClientSize() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return {r.right, r.bottom};
}

void TForm::SetClientSize(int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, GetWindowLongW(hwnd_, GWL_STYLE), FALSE,
                       GetWindowLongW(hwnd_, GWL_EXSTYLE));
    SetOuterSize(r.right - r.left, r.bottom - r.top);
}

void TForm::SetOuterSize(int width, int height) {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::MoveTo(int left, int top) {
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CentreOnScreen() {
    RECT r = WindowBounds();
    const int w = r.right - r.left, h = r.bottom - r.top;
    MoveTo((GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
}

void TForm::SetTopMost(bool topMost) {
    SetWindowPos(hwnd_, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void DispatchOne(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && TForm::FromHandle(root) && IsDialogMessageW(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchOne(msg);
    }
}

}  // namespace velmo::app
