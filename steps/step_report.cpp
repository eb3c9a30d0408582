// Step reporting shared by all steps.
#include "steps/step_report.h"

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

std::string CountLine(std::int64_t count, std::string_view suffix) {
    std::string line = std::to_string(count);
    line += suffix;
    return line;
}

}  // namespace velmo::steps
