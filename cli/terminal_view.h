// The progress view of the headless front end: memo lines on stdout, the detail line in place.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "steps/progress_view.h"

namespace velmo::cli {

class TerminalView : public steps::ProgressView {
  public:
    TerminalView();
    // The run's abort flag, which Ctrl+C sets at the next message pump.
    void AttachAbortFlag(bool* abortFlag) { abortFlag_ = abortFlag; }

    void SetStepLine(std::string_view text) override;
    void SetDetailLine(std::string_view text) override;
    void AddLogLine(std::string_view text) override;
    void ClearLog() override;
    std::vector<std::string> LogLines() const override { return memo_; }
    void SetPanelColour(steps::PanelColour) override {}
    void ShowProgressPanel() override {}
    void ProcessMessages() override;
    void EnablePanels(bool) override {}
    void ShowProButton(std::string_view, bool) override {}
    void HideProButton() override {}
    void Beep() override;
    void ShowWarning(std::string_view text) override;
    void ShowInfo(std::string_view text) override;

    // Set from the Ctrl+C handler.
    static std::atomic<bool> interrupted;

  private:
    void ClearDetail();

    bool* abortFlag_ = nullptr;
    const bool terminal_;
    std::vector<std::string> memo_;
    std::string detail_;
    bool detailShown_ = false;
    std::int64_t lastDraw_ = 0;  // microseconds
};

}  // namespace velmo::cli
