// Start-up of velmo.exe as separate processes: one copy per program file, activation of the
// running copy, stale markers, and the archiver library missing.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "../unit/test_folder.h"
#include "platform/files.h"
#include "platform/text.h"

namespace velmo::testing {
namespace {

constexpr DWORD kPatience = 30000;  // ms; a start or an end under Wine takes well under that

std::wstring Wide(std::string_view cp932) { return platform::Cp932ToWide(cp932); }

// A folder holding the program under a name of the test's choice, with or without the
// archiver library beside it.
class RunFolder {
  public:
    explicit RunFolder(bool withArchiver = true) {
        const std::string bin = platform::ProgramFolder();
        program_ = *platform::ReadWholeFile(platform::JoinPath(bin, "velmo.exe"));
        if (withArchiver)
            platform::WriteWholeFile(
                folder_.Path("UNLHA32.DLL"),
                *platform::ReadWholeFile(platform::JoinPath(bin, "UNLHA32.DLL")));
    }
    // The program saved under this file name.
    std::string Program(const std::string& name) {
        std::string path = folder_.Path(name);
        if (!platform::FileExists(path)) platform::WriteWholeFile(path, program_);
        return path;
    }

  private:
    TestFolder folder_;
    std::string program_;
};

struct WindowSearch {
    DWORD pid;
    std::wstring text;  // empty: any text
    std::wstring className;
    bool visible = false;  // only a shown window counts
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data) {
    auto* s = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid) return TRUE;
    wchar_t text[256] = {}, className[64] = {};
    GetWindowTextW(hwnd, text, 256);
    GetClassNameW(hwnd, className, 64);
    if (!s->text.empty() && s->text != text) return TRUE;
    if (!s->className.empty() && s->className != className) return TRUE;
    if (s->visible && !IsWindowVisible(hwnd)) return TRUE;
    s->found = hwnd;
    return FALSE;
}

// One started copy of the program.
class Copy {
  public:
    // Returns once the copy shows a window of its own or has ended (a second copy shows none).
    explicit Copy(const std::string& program) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring command = L"\"" + Wide(program) + L"\"";
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &si, &pi_) != 0;
        EXPECT_TRUE(started_) << "cannot start " << platform::Cp932ToUtf8(program);
        if (!started_) return;
        WaitForInputIdle(pi_.hProcess, kPatience);
        // Under Wine the process can turn idle once before its first window is up; another
        // process's windows send no notice this thread could wait for, so look until they
        // are there or the process has ended.
        for (DWORD waited = 0; waited < kPatience && !ShowsAWindow(); waited += 20)
            if (WaitForSingleObject(pi_.hProcess, 20) == WAIT_OBJECT_0) break;
    }
    ~Copy() {
        if (!started_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(pi_.hProcess, 99);
            WaitForSingleObject(pi_.hProcess, kPatience);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    HWND Window(std::string_view text, const wchar_t* className, bool visible = false) const {
        WindowSearch s{pi_.dwProcessId, Wide(text), className, visible};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
        return s.found;
    }
    HWND MainWindow() const { return Window("データ送信", L"TVelmoForm", true); }

    // The exit code once the process has ended, or -1 when it does not end.
    long WaitForExit() {
        if (WaitForSingleObject(pi_.hProcess, kPatience) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<long>(code);
    }
    long Close() {
        PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
        return WaitForExit();
    }
    void Kill() {
        TerminateProcess(pi_.hProcess, 9);
        WaitForSingleObject(pi_.hProcess, kPatience);
    }
    DWORD Id() const { return pi_.dwProcessId; }

  private:
    bool ShowsAWindow() const {
        return MainWindow() != nullptr || Window("Velmo", L"#32770") != nullptr;
    }

    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

bool MarkerExists(const wchar_t* name) { return GlobalFindAtomW(name) != 0; }

TEST(StartUp, SecondStartActivatesAndRestoresTheRunningCopyAndExits) {
    RunFolder folder;
    const std::string program = folder.Program("velmo-one.exe");
    Copy first(program);
    const HWND window = first.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(MarkerExists(L"velmo-one.exe"));

    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));
    {
        Copy second(program);
        EXPECT_EQ(second.WaitForExit(), 0);
    }
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(IsWindowVisible(window));

    // Started again while the first copy shows normally: it stays as it is, and the new
    // process still ends at once.
    {
        Copy third(program);
        EXPECT_EQ(third.WaitForExit(), 0);
    }
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(MarkerExists(L"velmo-one.exe"));

    EXPECT_EQ(first.Close(), 0);
    EXPECT_FALSE(MarkerExists(L"velmo-one.exe"));
}

TEST(StartUp, KilledCopysMarkerDoesNotBlockTheNextStart) {
    RunFolder folder;
    const std::string program = folder.Program("velmo-two.exe");
    {
        Copy killed(program);
        ASSERT_NE(killed.MainWindow(), nullptr);
        killed.Kill();
    }
    ASSERT_TRUE(MarkerExists(L"velmo-two.exe"));  // left behind, with no window

    Copy next(program);
    EXPECT_NE(next.MainWindow(), nullptr);
    EXPECT_EQ(next.Close(), 0);
    // The stale marker was removed before the new one was added: none is left now.
    EXPECT_FALSE(MarkerExists(L"velmo-two.exe"));
}

TEST(StartUp, DifferentlyNamedCopiesRunSideBySide) {
    RunFolder folder;
    Copy a(folder.Program("velmo-a.exe"));
    Copy b(folder.Program("velmo-b.exe"));
    EXPECT_NE(a.MainWindow(), nullptr);
    EXPECT_NE(b.MainWindow(), nullptr);
    EXPECT_EQ(a.Close(), 0);
    EXPECT_EQ(b.Close(), 0);
}

TEST(StartUp, MissingArchiverStopsBeforeAnyWindowWithItsMessage) {
    RunFolder folder(/*withArchiver=*/false);
    Copy copy(folder.Program("velmo-alone.exe"));
    const HWND box = copy.Window("Velmo", L"#32770");
    ASSERT_NE(box, nullptr);
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);  // a message box's text
    EXPECT_EQ(platform::WideToCp932(text), "Unlha32 Module Not Loaded.(UNLHA32.DLL)");
    EXPECT_EQ(copy.MainWindow(), nullptr);
    EXPECT_FALSE(MarkerExists(L"velmo-alone.exe"));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(copy.WaitForExit(), 1);
}

}  // namespace
}  // namespace velmo::testing
