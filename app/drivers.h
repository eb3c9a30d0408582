// The send and receive drivers: checks, the run frame, the steps in order, log file, outcome.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "steps/run_context.h"

namespace velmo::app {

// The step operations a driver chains; the window and the tests may put their own in.
struct DriverSteps {
    std::function<void(steps::RunContext&)> packAndEncrypt;
    std::function<void(steps::RunContext&)> upload;
    std::function<void(steps::RunContext&)> download;
    std::function<void(steps::RunContext&)> decryptAndUnpack;
    std::function<void(steps::RunContext&)> cleanUp;

    static DriverSteps Standard();
};

// What the window adds to a run: storing the settings, where the log goes, how it ends.
struct DriverOptions {
    std::function<void()> saveSettings;  // SaveSettings from the controls
    std::string logPath;                 // ProgramFolder\Velmo.log
    bool noDialog = false;               // /N: a beep instead of the end message box
    int runMode = 1;                     // 0 full, 1 send, 2 receive
};

enum class RunOutcome {
    Refused,    // a check failed: a warning was shown, nothing else happened
    Completed,  // CloseResult 1
    Aborted,    // failed or stopped: CloseResult 2
};

// The log file could not be written. The run ends there, before its end message; whoever
// started it shows this error's text.
class ELogFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The first failing send or receive check's warning text, or nullopt when all pass.
std::optional<std::string> SendCheck(const steps::RunContext& run);
std::optional<std::string> ReceiveCheck(const steps::RunContext& run);

// LibBtBtn1Click and LibBtBtn2Click: collect, check, run, log, tell.
RunOutcome RunSend(steps::RunContext& run, const DriverOptions& options, const DriverSteps& steps);
RunOutcome RunReceive(steps::RunContext& run, const DriverOptions& options,
                      const DriverSteps& steps);

// The memo lines, each ended by CR LF, replacing the file.
void WriteLogFile(const std::string& path, const std::vector<std::string>& lines);

// CloseResult for an outcome: 1 after a completed run, 2 otherwise.
inline int CloseResultOf(RunOutcome outcome) { return outcome == RunOutcome::Completed ? 1 : 2; }

}  // namespace velmo::app
