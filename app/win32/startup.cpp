// Start-up: binding first, then the single-instance marker (a global atom named after the
// program file), then the windows and the loop inside one protected block.
#include "app/win32/startup.h"

#include <objbase.h>
#include <shellapi.h>

#include <exception>
#include <memory>

#include "app/win32/alerts.h"
#include "app/win32/application.h"
#include "platform/files.h"
#include "platform/text.h"
#include "steps/lib_lha32.h"

namespace velmo::app {

std::wstring ProgramFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(path.find_last_of(L'\\') + 1);
}

std::vector<std::string> ProgramArguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; argv && i < count; ++i) arguments.push_back(platform::WideToCp932(argv[i]));
    LocalFree(argv);
    return arguments;
}

bool ActivateRunningCopy(std::string_view windowText) {
    HWND found = FindWindowW(nullptr, platform::Cp932ToWide(windowText).c_str());
    if (!found) return false;
    SetForegroundWindow(found);
    HWND owner = reinterpret_cast<HWND>(GetWindowLongPtrW(found, GWLP_HWNDPARENT));
    HWND target = owner ? owner : found;
    if (IsIconic(target)) SendMessageW(target, WM_SYSCOMMAND, SC_RESTORE, static_cast<LPARAM>(-1));
    return true;
}

int StartProgram() {
    // Dates in this program are always written year/month/day ("yyyy/mm/dd") by its own text
    // helpers; the user's regional settings are left as they are.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    std::unique_ptr<steps::LibLha32> archiver;
    try {
        archiver = steps::LibLha32::Load();
    } catch (const std::exception& e) {
        ShowBox(nullptr, BoxKind::Plain, e.what(), "Velmo");
        return 1;
    }

    const std::wstring marker = ProgramFileName();
    if (ATOM found = GlobalFindAtomW(marker.c_str())) {
        if (ActivateRunningCopy(kApplicationTitle)) return 0;
        GlobalDeleteAtom(found);  // left by a copy that ended abnormally
    }

    try {
        const ATOM atom = GlobalAddAtomW(marker.c_str());
        TApplication application({std::string(kApplicationTitle), ProgramArguments(),
                                  platform::ProgramFolder(), archiver.get()});
        application.Run();
        GlobalDeleteAtom(atom);
    } catch (...) {
        // The marker stays: the next start finds it without a window and removes it.
        SoundBeep();
        ShowBox(nullptr, BoxKind::Plain, "リソース不足のため続行できません。", kApplicationTitle);
    }
    return 0;
}

}  // namespace velmo::app
