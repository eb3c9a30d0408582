// The console on Windows.
#include "platform/console.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "platform/text.h"

namespace velmo::platform {
namespace {

void (*interruptHandler)() = nullptr;

BOOL WINAPI HandleControl(DWORD event) {
    if ((event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) && interruptHandler) {
        interruptHandler();
        return TRUE;
    }
    return FALSE;
}

HANDLE Handle(Stream stream) {
    return GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

}  // namespace

bool IsTerminal(Stream stream) {
    DWORD mode;
    return GetConsoleMode(Handle(stream), &mode) != 0;
}

void WriteText(Stream stream, std::string_view cp932) {
    HANDLE h = Handle(stream);
    DWORD done;
    if (IsTerminal(stream)) {
        std::wstring wide = Cp932ToWide(cp932);
        WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr);
    } else {
        WriteFile(h, cp932.data(), static_cast<DWORD>(cp932.size()), &done, nullptr);
    }
}

void Bell() { MessageBeep(MB_OK); }

void OnInterrupt(void (*onInterrupt)()) {
    interruptHandler = onInterrupt;
    SetConsoleCtrlHandler(HandleControl, TRUE);
}

std::vector<std::string> ProgramArguments(int, char**) {
    // The narrow argv is in the ANSI code page, which need not be 932: ask for the wide one.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) args.push_back(WideToCp932(wide[i]));
    LocalFree(wide);
    return args;
}

}  // namespace velmo::platform
