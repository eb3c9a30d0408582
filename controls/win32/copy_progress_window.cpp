// The copy progress window on Win32.
#include "controls/win32/copy_progress_window.h"

#include <commctrl.h>

#include "controls/win32/house_look.h"
#include "platform/text.h"

namespace velmo::controls {
namespace {

constexpr wchar_t kWindowClass[] = L"TCopyProgressForm";

}  // namespace

TCopyProgressWindow::TCopyProgressWindow(HWND owner, std::function<void()> pump)
    : pump_(std::move(pump)) {
    RegisterPlainWindowClass(kWindowClass, GetSysColorBrush(COLOR_BTNFACE));
    const int width = 300, height = 75;
    window_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kWindowClass, L"",
                              WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
                              (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                              (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, owner,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) return;
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(HouseFont(kFormFace, false)), 0);
    bar_ = std::make_unique<TPlainControl>(PROGRESS_CLASSW, WS_VISIBLE | PBS_SMOOTH, 0, window_, 1,
                                           Bounds{41, 10, 210, 16});
    SendMessageW(bar_->Handle(), PBM_SETRANGE32, 0, 0);
    SendMessageW(bar_->Handle(), PBM_SETSTEP, 1, 0);
    label_ = std::make_unique<TLibLabel>(window_, 2, Bounds{41, 30, 210, 16}, kCopyPreparing);
    SetWindowLongW(label_->Handle(), GWL_STYLE,
                   (GetWindowLongW(label_->Handle(), GWL_STYLE) & ~SS_LEFT) | SS_CENTER);
    label_->SetFont(HouseFont(kFormFace, false));
}

TCopyProgressWindow::~TCopyProgressWindow() { Close(); }

void TCopyProgressWindow::Show() {
    if (!window_) return;
    ShowWindow(window_, SW_SHOWNA);
    UpdateWindow(window_);
}

void TCopyProgressWindow::SetCaption(const std::string& caption) {
    if (window_) SetWindowTextW(window_, platform::Cp932ToWide(caption).c_str());
}

void TCopyProgressWindow::SetMaximum(std::int64_t maximum) {
    if (bar_)
        SendMessageW(bar_->Handle(), PBM_SETRANGE32, 0,
                     static_cast<LPARAM>(maximum > 0x7FFFFFFF ? 0x7FFFFFFF : maximum));
}

void TCopyProgressWindow::Update(std::int64_t copied, const std::string& label) {
    if (!window_) return;
    SendMessageW(bar_->Handle(), PBM_SETPOS,
                 static_cast<WPARAM>(copied > 0x7FFFFFFF ? 0x7FFFFFFF : copied), 0);
    label_->SetText(label);
}

void TCopyProgressWindow::ProcessMessages() {
    if (pump_) pump_();
}

void TCopyProgressWindow::Close() {
    label_.reset();
    bar_.reset();
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

}  // namespace velmo::controls
