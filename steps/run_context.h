// What the steps work on: the settings record, the abort flag, the counter and the components.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "steps/progress_view.h"
#include "steps/settings_record.h"

namespace velmo::steps {

class TLibLha;

// The state a run shares with the window that started it. The window (or the headless front
// end) owns it; the steps and drivers only borrow it for the length of a call.
struct RunContext {
    RunContext(ProgressView& progressView, std::function<SettingsRecord()> collect)
        : view(progressView), collectSettings(std::move(collect)) {}

    ProgressView& view;
    // CollectSettings: copies the controls into `settings`. Every step calls it first.
    std::function<SettingsRecord()> collectSettings;
    SettingsRecord settings;

    // Set by the abort button and by every failing step; cleared only when a driver starts.
    bool AbortFlag = false;
    // Bytes counted by the step that is transferring.
    std::int64_t ByteCounter = 0;
    // The program's folder without a trailing backslash: work files live here.
    std::string ProgramFolder;

    TLibLha* LibLha = nullptr;

    void CollectSettings() { settings = collectSettings(); }

    std::string ArchiveWorkFile() const;   // ProgramFolder\UserID.$$$
    std::string TransferWorkFile() const;  // ProgramFolder\UserID
};

}  // namespace velmo::steps
