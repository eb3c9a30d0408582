// Step reporting shared by all steps.
#include "steps/step_report.h"

#include <exception>

namespace velmo::steps {

void StepStarted(RunContext& run, std::string_view stepLine, std::string_view detailLine) {
    run.view.SetStepLine(stepLine);
    run.view.SetDetailLine(detailLine);
    run.view.AddLogLine(stepLine);
    if (!detailLine.empty()) run.view.AddLogLine(detailLine);
    run.view.ProcessMessages();
}

void StepEnded(RunContext& run, std::string_view outcome, bool failed) {
    run.view.SetStepLine(outcome);
    if (failed) run.view.SetPanelColour(PanelColour::Red);
    run.view.AddLogLine(outcome);
    run.view.AddLogLine("");
    run.view.ProcessMessages();
}

void StepEnded(RunContext& run, const std::string& word, StepResult result) {
    static constexpr const char* kSuffix[] = {"完了", "中止", "エラー", "失敗"};
    StepEnded(run, word + kSuffix[static_cast<int>(result)], result != StepResult::Done);
}

StepResult CopyIntoFolder(RunContext& run, const std::string& source, const std::string& folder) {
    try {
        if (run.CopyIntoFolder(source, folder) == 0) return StepResult::Done;
        run.AbortFlag = true;
        return StepResult::Stopped;
    } catch (const std::exception&) {
        run.AbortFlag = true;
        return StepResult::Error;
    }
}

std::string CountLine(std::int64_t count, std::string_view suffix) {
    std::string line = std::to_string(count);
    line += suffix;
    return line;
}

}  // namespace velmo::steps
