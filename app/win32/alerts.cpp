// Message boxes with W functions on CP932 text, and the default beep.
#include "app/win32/alerts.h"

#include "platform/text.h"

namespace velmo::app {
namespace {

UINT StyleOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::Plain:
            return MB_OK;
        case BoxKind::Warning:
            return MB_OK | MB_ICONWARNING;
        case BoxKind::Info:
            return MB_OK | MB_ICONINFORMATION;
        case BoxKind::Confirm:
            return MB_OKCANCEL | MB_ICONQUESTION;
        case BoxKind::Error:
            return MB_OK | MB_ICONERROR;
    }
    return MB_OK;
}

int SystemBox(HWND owner, BoxKind kind, std::string_view text, std::string_view caption) {
    return MessageBoxW(owner, platform::Cp932ToWide(text).c_str(),
                       platform::Cp932ToWide(caption).c_str(), StyleOf(kind));
}

void SystemBeep() { MessageBeep(MB_OK); }

BoxFunction currentBox = SystemBox;
BeepFunction currentBeep = SystemBeep;

}  // namespace

BoxFunction SetBoxFunction(BoxFunction box) {
    BoxFunction previous = currentBox;
    currentBox = box ? box : SystemBox;
    return previous;
}

BeepFunction SetBeepFunction(BeepFunction beep) {
    BeepFunction previous = currentBeep;
    currentBeep = beep ? beep : SystemBeep;
    return previous;
}

int ShowBox(HWND owner, BoxKind kind, std::string_view text, std::string_view caption) {
    return currentBox(owner, kind, text, caption);
}

void SoundBeep() { currentBeep(); }

int AskConfirm(HWND owner, std::string_view text) {
    SoundBeep();
    return ShowBox(owner, BoxKind::Confirm, text, "確認");
}

void ShowWarning(HWND owner, std::string_view text) {
    SoundBeep();
    ShowBox(owner, BoxKind::Warning, text, "警告");
}

void ShowInfo(HWND owner, std::string_view text) {
    SoundBeep();
    ShowBox(owner, BoxKind::Info, text, "情報");
}

void ShowError(HWND owner, std::string_view text) {
    ShowBox(owner, BoxKind::Error, text, "エラー");
}

}  // namespace velmo::app
