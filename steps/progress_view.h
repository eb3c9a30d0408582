// What a run shows the operator: the interface between the steps and drivers and a window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmo::steps {

enum class PanelColour { Silver, Red };

// The main window's progress panel, log memo, buttons and message boxes as the steps and the
// drivers use them. The Win32 window, the headless front end and the tests' recorder each
// implement it; every call is one visible change, in the order the run makes them.
class ProgressView {
  public:
    virtual ~ProgressView() = default;

    virtual void SetStepLine(std::string_view text) = 0;    // ProLabel1
    virtual void SetDetailLine(std::string_view text) = 0;  // ProLabel2
    virtual void AddLogLine(std::string_view text) = 0;     // a line appended to Memo1
    virtual void ClearLog() = 0;
    virtual std::vector<std::string> LogLines() const = 0;
    virtual void SetPanelColour(PanelColour colour) = 0;  // LibPanel1
    virtual void ShowProgressPanel() = 0;
    // Lets pending window messages be processed: repaints, and the abort button's click.
    virtual void ProcessMessages() = 0;

    // The drivers' window actions.
    virtual void EnablePanels(bool enabled) = 0;
    virtual void ShowProButton(std::string_view caption, bool focus) = 0;  // ProButton
    virtual void HideProButton() = 0;

    // The operator's messages; each box is preceded by the default beep.
    virtual void Beep() = 0;
    virtual void ShowWarning(std::string_view text) = 0;
    virtual void ShowInfo(std::string_view text) = 0;
};

}  // namespace velmo::steps
