// A progress view that keeps every call in order, and the memo as a window would hold it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "steps/progress_view.h"

namespace velmo::testing {

class RecordingView : public steps::ProgressView {
  public:
    std::vector<std::string> calls;  // "step:…", "detail:…", "log:…", "red", "warning:…", …
    std::vector<std::string> memo;
    std::string stepLine, detailLine;
    steps::PanelColour colour = steps::PanelColour::Silver;
    // Runs at every message pump: a test presses the abort button from here.
    std::function<void()> onProcessMessages;

    void SetStepLine(std::string_view text) override {
        stepLine = text;
        calls.push_back("step:" + stepLine);
    }
    void SetDetailLine(std::string_view text) override {
        detailLine = text;
        calls.push_back("detail:" + detailLine);
    }
    void AddLogLine(std::string_view text) override {
        memo.emplace_back(text);
        calls.push_back("log:" + memo.back());
    }
    void ClearLog() override {
        memo.clear();
        calls.push_back("clear");
    }
    std::vector<std::string> LogLines() const override { return memo; }
    void SetPanelColour(steps::PanelColour c) override {
        colour = c;
        calls.push_back(c == steps::PanelColour::Red ? "red" : "silver");
    }
    void ShowProgressPanel() override { calls.push_back("panel"); }
    void ProcessMessages() override {
        calls.push_back("pump");
        if (onProcessMessages) onProcessMessages();
    }
    void EnablePanels(bool enabled) override { calls.push_back(enabled ? "enable" : "disable"); }
    void ShowProButton(std::string_view caption, bool focus) override {
        calls.push_back("button:" + std::string(caption) + (focus ? ":focus" : ""));
    }
    void HideProButton() override { calls.push_back("button:hidden"); }
    void Beep() override { calls.push_back("beep"); }
    void ShowWarning(std::string_view text) override {
        calls.push_back("warning:" + std::string(text));
    }
    void ShowInfo(std::string_view text) override { calls.push_back("info:" + std::string(text)); }

    // The calls of one kind, e.g. Calls("warning:").
    std::vector<std::string> Calls(std::string_view prefix) const {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (c.starts_with(prefix)) out.push_back(c);
        return out;
    }
};

}  // namespace velmo::testing
