// The operator's message boxes and the default beep, through one replaceable function each.
#pragma once

#include <windows.h>

#include <string_view>

namespace velmo::app {

enum class BoxKind {
    Plain,    // OK, no icon
    Warning,  // OK
    Info,     // OK
    Confirm,  // OK and Cancel
    Error,    // OK: an error nobody handled
};

// Shows a modal box owned by `owner` and returns the button pressed (IDOK, IDCANCEL).
using BoxFunction = int (*)(HWND owner, BoxKind kind, std::string_view text,
                            std::string_view caption);
using BeepFunction = void (*)();

// Tests put their own in (and get the previous one back): nobody is there to press a button.
BoxFunction SetBoxFunction(BoxFunction box);
BeepFunction SetBeepFunction(BeepFunction beep);

int ShowBox(HWND owner, BoxKind kind, std::string_view text, std::string_view caption);
void SoundBeep();

// The boxes of the main window: the default beep, then the box.
int AskConfirm(HWND owner, std::string_view text);
void ShowWarning(HWND owner, std::string_view text);
void ShowInfo(HWND owner, std::string_view text);
// The box for an error that escaped an event handler: its text and nothing else.
void ShowError(HWND owner, std::string_view text);

}  // namespace velmo::app
