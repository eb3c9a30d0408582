// The way every step reports on the progress panel and in the run log.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "steps/run_context.h"

namespace velmo::steps {

// Start: step line and detail line set, both logged (an empty detail line is not), messages
// processed so that they show at once.
void StepStarted(RunContext& run, std::string_view stepLine, std::string_view detailLine = {});
// End: the outcome on the step line, the panel red on a failure, the outcome and an empty line
// logged, messages processed.
void StepEnded(RunContext& run, std::string_view outcome, bool failed);
// The outcomes of the transfer steps, whose texts are their word ("ダウンロード",
// "アップロード") followed by one of these.
enum class StepResult { Done, Stopped, Error, Failed };
// StepEnded with word + "完了" / "中止" / "エラー" / "失敗"; all but Done turn the panel red.
void StepEnded(RunContext& run, const std::string& word, StepResult result);

// Copies a file into a folder with the run's file copy. A copy that falls short is a failed
// transfer (Stopped) and sets AbortFlag, as an error does, so the run cannot end "completed".
StepResult CopyIntoFolder(RunContext& run, const std::string& source, const std::string& folder);

// A running count on the detail line, e.g. "2500 Byte 暗号化しました。"; messages processed.
std::string CountLine(std::int64_t count, std::string_view suffix);

}  // namespace velmo::steps
