// ⑦ 圧縮: pack the send folder, then encipher the archive into the transfer work file.
#include "platform/files.h"
#include "steps/cipher.h"
#include "steps/lib_lha.h"
#include "steps/step_report.h"
#include "steps/steps.h"

namespace velmo::steps {
namespace {

// Runs the configured component with its output lines going into the run log.
int ExecuteIntoLog(RunContext& run, TLibLha& lha) {
    std::vector<std::string> lines;
    lha.OutputLines = &lines;
    int result = lha.Execute();
    lha.OutputLines = nullptr;
    for (const std::string& line : lines) run.view.AddLogLine(line);
    return result;
}

void Pack(RunContext& run) {
    const std::string archive = run.ArchiveWorkFile();
    run.view.SetStepLine("圧縮中");
    run.view.SetDetailLine("");
    run.view.AddLogLine("圧縮中");
    run.view.AddLogLine("フォルダ：" + run.settings.SendFolder + " → 書庫名：" + archive);
    run.view.ProcessMessages();

    // A leftover from an earlier run would lend the new archive stale entries.
    platform::RemoveFile(archive);

    TLibLha& lha = *run.LibLha;
    lha.SetDefaults();
    lha.ARCFileName = archive;
    lha.ARCPattern = "";
    lha.BaseDirName = run.settings.SendFolder;
    lha.Command = cmdAdd;
    lha.ExecMode = exForeGround;
    lha.Options.OpReSearch = rsAllSearch;
    lha.Options.OpDirEffect = true;
    lha.Options.OpLogDisp = ldFileOnly;
    lha.DlgOptions.OpErrorDlg = false;
    if (ExecuteIntoLog(run, lha) != 0) {
        run.AbortFlag = true;
        StepEnded(run, "圧縮中止", true);
    } else {
        StepEnded(run, "圧縮完了", false);
    }
}

void Encrypt(RunContext& run) {
    StepStarted(run, "暗号化中");
    std::string detail;
    bool ok = Encipher(run.ArchiveWorkFile(), run.TransferWorkFile(), run.settings.Password,
                       run.ByteCounter, [&](std::int64_t count) {
                           detail = CountLine(count, " Byte 暗号化しました。");
                           run.view.SetDetailLine(detail);
                           run.view.ProcessMessages();
                           return !run.AbortFlag;
                       });
    if (!detail.empty()) run.view.AddLogLine(detail);
    if (!ok) run.AbortFlag = true;
}

}  // namespace

void PackAndEncrypt(RunContext& run) {
    run.CollectSettings();
    Pack(run);
    if (!run.AbortFlag) Encrypt(run);
    StepEnded(run, run.AbortFlag ? "暗号化中止" : "暗号化完了", run.AbortFlag);
}

}  // namespace velmo::steps
