// What the steps work on: the settings record, the abort flag, the counter and the components.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "steps/progress_view.h"
#include "steps/settings_record.h"

namespace velmo::net {
class T_FTP;
class T_Pop3;
}  // namespace velmo::net

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

    // The components the window owns.
    TLibLha* LibLha = nullptr;
    net::T_FTP* FTP = nullptr;
    net::T_Pop3* POP = nullptr;
    // The file copy with progress: copies a file into a folder under its own name; 0, or
    // non-zero when a write fell short; throws when a file cannot be opened or created.
    std::function<int(const std::string& source, const std::string& folder)> CopyIntoFolder;
    // Dial-up control: DialUp is true when the line is up or no dial-up is selected.
    std::function<bool(RunContext&)> DialUp;
    std::function<void(RunContext&)> HangUp;

    void CollectSettings() { settings = collectSettings(); }

    std::string ArchiveWorkFile() const;   // ProgramFolder\UserID.$$$
    std::string TransferWorkFile() const;  // ProgramFolder\UserID
};

}  // namespace velmo::steps
