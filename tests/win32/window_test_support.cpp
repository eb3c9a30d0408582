// The window suites' helpers: recorded boxes, child windows seen from outside, a test program.
#include "window_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/files.h"
#include "platform/text.h"
#include "steps/lib_lha32.h"

namespace velmo::testing {

Alerts* Alerts::current_ = nullptr;

Alerts::Alerts() {
    current_ = this;
    previousBox_ = app::SetBoxFunction(RecordBox);
    previousBeep_ = app::SetBeepFunction(RecordBeep);
}

Alerts::~Alerts() {
    app::SetBoxFunction(previousBox_);
    app::SetBeepFunction(previousBeep_);
    current_ = nullptr;
}

int Alerts::RecordBox(HWND, app::BoxKind kind, std::string_view text, std::string_view caption) {
    Alerts& a = *current_;
    a.boxes.push_back({kind, std::string(text), std::string(caption)});
    if (a.onBox) a.onBox(a.boxes.back());
    if (a.answers.empty()) return IDOK;
    int answer = a.answers.front();
    a.answers.pop_front();
    return answer;
}

void Alerts::RecordBeep() { ++current_->beeps; }

std::vector<std::string> Alerts::Texts() const {
    std::vector<std::string> texts;
    for (const Box& b : boxes) texts.push_back(b.text);
    return texts;
}

std::string WindowTextOf(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring wide(static_cast<std::size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, wide.data(), n + 1);
    wide.resize(static_cast<std::size_t>(n));
    return platform::WideToCp932(wide);
}

namespace {

controls::Bounds PlaceIn(HWND hwnd, HWND container) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

struct Enumeration {
    HWND form;
    std::vector<ChildWindow> children;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM data) {
    auto* e = reinterpret_cast<Enumeration*>(data);
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    ChildWindow c;
    c.hwnd = hwnd;
    c.className = platform::WideToCp932(className);
    c.text = WindowTextOf(hwnd);
    c.visible = IsWindowVisible(hwnd) != 0;
    c.enabled = IsWindowEnabled(hwnd) != 0;
    c.place = PlaceIn(hwnd, GetParent(hwnd));
    c.onForm = PlaceIn(hwnd, e->form);
    e->children.push_back(std::move(c));
    return TRUE;
}

}  // namespace

std::vector<ChildWindow> ChildWindowsOf(HWND form) {
    Enumeration e{form, {}};
    EnumChildWindows(form, CollectChild, reinterpret_cast<LPARAM>(&e));
    return e.children;
}

ChildWindow ChildByText(HWND form, std::string_view text) {
    for (const ChildWindow& c : ChildWindowsOf(form))
        if (c.text == text) return c;
    ADD_FAILURE() << "no child window with the text " << platform::Cp932ToUtf8(text);
    return {};
}

std::vector<std::string> VisibleTexts(HWND form) {
    std::vector<std::string> texts;
    for (const ChildWindow& c : ChildWindowsOf(form))
        if (c.visible && !c.text.empty()) texts.push_back(c.text);
    return texts;
}

steps::LibLha32& Archiver() {
    static std::unique_ptr<steps::LibLha32> library = steps::LibLha32::Load();
    return *library;
}

TestProgram::TestProgram(std::string title, std::vector<std::string> arguments,
                         std::optional<std::string> iniText, std::string iniName) {
    if (iniText) platform::WriteWholeFile(folder_.Path(iniName), *iniText);
    application_ = std::make_unique<app::TApplication>(
        app::VelmoFormOptions{std::move(title), std::move(arguments), folder_.Path(), &Archiver()});
}

TestProgram::~TestProgram() { End(); }

void TestProgram::Show() { Form().Show(); }

void TestProgram::End() {
    application_.reset();
    // Closing the main window asks the (absent) loop to quit; that request dies with it.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void Click(const controls::TLibControl& control) { Click(control.Handle()); }

void Click(HWND control) { SendMessageW(control, BM_CLICK, 0, 0); }

// Any real box left to show would wait for a person: this thread's hook presses its button.
namespace {

HHOOK boxHook = nullptr;

LRESULT CALLBACK PressAnyBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(hwnd, className, 16);
        if (std::wstring_view(className) == L"#32770") {
            ADD_FAILURE() << "a real dialog box appeared: "
                          << platform::Cp932ToUtf8(WindowTextOf(hwnd));
            PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
        }
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

class BoxBackstop : public ::testing::Environment {
  public:
    void SetUp() override {
        boxHook = SetWindowsHookExW(WH_CBT, PressAnyBox, nullptr, GetCurrentThreadId());
    }
    void TearDown() override {
        if (boxHook) UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }
};

[[maybe_unused]] ::testing::Environment* const backstop =
    ::testing::AddGlobalTestEnvironment(new BoxBackstop);

}  // namespace

std::string FileText(const std::string& path) { return platform::ReadWholeFile(path).value_or(""); }

std::string LogText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

std::string Utf8(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += platform::Cp932ToUtf8(line) + "\n";
    return out;
}

bool Contains(const std::vector<std::string>& lines, std::string_view line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace velmo::testing
