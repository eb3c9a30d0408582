// The work clean-up that ends every run, and the folder probe.
#include "platform/files.h"
#include "platform/text.h"
#include "steps/step_report.h"
#include "steps/steps.h"

namespace velmo::steps {

std::string RunContext::ArchiveWorkFile() const {
    return platform::JoinPath(ProgramFolder, settings.UserID + ".$$$");
}

std::string RunContext::TransferWorkFile() const {
    return platform::JoinPath(ProgramFolder, settings.UserID);
}

void CleanUpWork(RunContext& run) {
    run.CollectSettings();
    StepStarted(run, "ワーク消去中");
    // A missing work file or one that cannot be deleted is no reason to stop the run's end.
    platform::RemoveFile(run.ArchiveWorkFile());
    platform::RemoveFile(run.TransferWorkFile());
    StepEnded(run, run.AbortFlag ? "処理中止" : "処理完了", run.AbortFlag);
}

bool ProbeFolder(const RunContext& run, std::string_view path) {
    if (path.empty()) return false;
    const std::string own = platform::JoinPath(run.ProgramFolder, "check.$$$");
    // The destination is joined as the operator typed it: a host name followed by "/" names
    // no folder the probe can be written into, so such a destination counts as FTP.
    const std::string there = std::string(path) + "\\check.$$$";
    if (!platform::WriteWholeFile(own, "check\r\n")) return false;
    bool writable = false;
    // The probe in our own folder showing up there means the destination is our own folder.
    if (!platform::FileExists(there)) {
        platform::RemoveFile(own);
        writable = platform::WriteWholeFile(there, "check\r\n") && platform::RemoveFile(there);
    }
    platform::RemoveFile(own);
    return writable;
}

}  // namespace velmo::steps
