// Shared by the window suites: the program's windows in a scratch folder, answered message
// boxes, and a view of a window's children from outside.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../unit/test_folder.h"
#include "app/win32/alerts.h"
#include "app/win32/application.h"
#include "controls/win32/lib_control.h"

namespace velmo::testing {

// Every message box and beep of a test, recorded instead of shown. A box is answered with
// the next queued answer, IDOK when none is queued; onBox runs while the box is "open".
class Alerts {
  public:
    struct Box {
        app::BoxKind kind;
        std::string text;
        std::string caption;
    };
    Alerts();
    ~Alerts();
    Alerts(const Alerts&) = delete;
    Alerts& operator=(const Alerts&) = delete;

    std::vector<Box> boxes;
    int beeps = 0;
    std::deque<int> answers;
    std::function<void(const Box&)> onBox;

    std::vector<std::string> Texts() const;

  private:
    static int RecordBox(HWND, app::BoxKind kind, std::string_view text, std::string_view caption);
    static void RecordBeep();
    static Alerts* current_;
    app::BoxFunction previousBox_;
    app::BeepFunction previousBeep_;
};

// A child window as anybody outside the program sees it.
struct ChildWindow {
    HWND hwnd = nullptr;
    std::string className;
    std::string text;
    bool visible = false;  // it and every window above it are shown
    bool enabled = false;
    controls::Bounds place;   // in its parent's client area
    controls::Bounds onForm;  // in the form's client area
};
std::vector<ChildWindow> ChildWindowsOf(HWND form);
// The first child with exactly this text; fails the test when there is none.
ChildWindow ChildByText(HWND form, std::string_view text);
// The texts of the visible children that have one, in window order.
std::vector<std::string> VisibleTexts(HWND form);
std::string WindowTextOf(HWND hwnd);

// The program's three windows on a scratch folder that holds the settings, log and work files.
class TestProgram {
  public:
    // iniText: the settings file's bytes (CP932), or nothing for no file.
    TestProgram(std::string title, std::vector<std::string> arguments,
                std::optional<std::string> iniText = std::nullopt,
                std::string iniName = "Velmo.ini");
    ~TestProgram();

    app::TVelmoForm& Form() { return application_->VelmoForm(); }
    app::TPOPForm& Pop() { return application_->POPForm(); }
    app::TNETForm& Net() { return application_->NETForm(); }
    const std::string& Folder() const { return folder_.Path(); }
    std::string Path(std::string_view name) const { return folder_.Path(name); }
    // Shows the main window as the start-up does.
    void Show();
    // Destroys the windows, as the end of the program does.
    void End();

  private:
    TestFolder folder_;
    std::unique_ptr<app::TApplication> application_;
};

// The archiver library beside the test program, loaded once.
steps::LibLha32& Archiver();

// Clicks a control the way the mouse does.
void Click(const controls::TLibControl& control);
void Click(HWND control);

// Helpers of the run suites: a file's bytes (empty when missing), memo lines as the log file
// holds them, lines as UTF-8 for failure messages, and whether a line is among them.
std::string FileText(const std::string& path);
std::string LogText(const std::vector<std::string>& lines);
std::string Utf8(const std::vector<std::string>& lines);
bool Contains(const std::vector<std::string>& lines, std::string_view line);

}  // namespace velmo::testing
