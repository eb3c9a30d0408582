// ② 解凍: decipher the transfer work file, test the password, empty the save folder, unpack.
#include "platform/files.h"
#include "platform/text.h"
#include "steps/cipher.h"
#include "steps/lib_lha.h"
#include "steps/step_report.h"
#include "steps/steps.h"

namespace velmo::steps {
namespace {

// False (and the check text empty) when the transfer work file could not be deciphered.
bool Decrypt(RunContext& run, std::string& checkText) {
    StepStarted(run, "暗号解析中");
    std::string detail;
    bool ok = Decipher(run.TransferWorkFile(), run.ArchiveWorkFile(), checkText, run.ByteCounter,
                       [&](std::int64_t count) {
                           detail = CountLine(count, " Byte 暗号解析しました。");
                           run.view.SetDetailLine(detail);
                           run.view.ProcessMessages();
                           return !run.AbortFlag;
                       });
    if (!detail.empty()) run.view.AddLogLine(detail);
    if (!ok) run.AbortFlag = true;
    StepEnded(run, run.AbortFlag ? "暗号解析中止" : "暗号解析完了", run.AbortFlag);
    return !run.AbortFlag;
}

void PasswordTest(RunContext& run, const std::string& checkText) {
    if (run.settings.Password.empty() || PasswordMatches(checkText, run.settings.Password)) return;
    run.view.SetDetailLine("パスワードが違います。");
    run.view.AddLogLine("パスワードが違います。");
    run.view.AddLogLine("");
    run.view.ProcessMessages();
    run.AbortFlag = true;
}

void LogLines(RunContext& run, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) run.view.AddLogLine(line);
}

// Nothing may be deleted from the save folder unless the archive is known to be whole: a
// damaged transfer would otherwise cost the operator the files already there.
bool ArchiveTestsWhole(RunContext& run, TLibLha& lha, const std::string& archive) {
    // Packing never makes an empty archive (an empty send folder fails to pack), but LHA
    // readers take an empty file for an empty archive: it can only be a transfer cut short.
    auto size = platform::FileSize(archive);
    if (!size || *size == 0) return false;
    std::vector<std::string> lines;
    lha.SetDefaults();
    lha.ARCFileName = archive;
    lha.ARCPattern = "";
    lha.BaseDirName = "";
    lha.Command = cmdTest;
    lha.ExecMode = exForeGround;
    lha.DlgOptions.OpErrorDlg = false;
    lha.OutputLines = &lines;
    int result = lha.Execute();
    lha.OutputLines = nullptr;
    if (result != 0) LogLines(run, lines);  // the library's own words say what is wrong
    return result == 0;
}

// Deletes the files directly in the folder; sub-folders and what they hold stay.
void EmptyFolder(const std::string& folder, const std::vector<platform::FolderEntry>& entries) {
    for (const platform::FolderEntry& entry : entries)
        if (!entry.isFolder) platform::RemoveFile(platform::JoinPath(folder, entry.name));
}

void Unpack(RunContext& run) {
    const std::string archive = run.ArchiveWorkFile();
    const std::string& folder = run.settings.SaveFolder;
    run.view.SetStepLine("解凍中");
    run.view.SetDetailLine("");
    run.view.AddLogLine("解凍中");
    run.view.AddLogLine("書庫名：" + archive + " → フォルダ：" + folder);
    run.view.ProcessMessages();

    platform::MakeFolder(folder);  // an existing folder is fine; a missing parent shows below
    TLibLha& lha = *run.LibLha;
    auto entries = platform::ListFolder(folder);
    if (!entries || !ArchiveTestsWhole(run, lha, archive)) {
        run.AbortFlag = true;
        StepEnded(run, "解凍中止", true);
        return;
    }
    EmptyFolder(folder, *entries);

    std::vector<std::string> lines;
    lha.SetDefaults();
    lha.ARCFileName = archive;
    lha.ARCPattern = "";
    lha.BaseDirName = folder;
    lha.Command = cmdExtract;
    lha.ExecMode = exForeGround;
    lha.Options.OpReSearch = rsAllSearch;
    lha.Options.OpDirEffect = true;
    lha.Options.OpLogDisp = ldDetail;
    lha.Options.OpDlgYes = {dyDirectory, dyReplaceFile};
    lha.Options.OpROot = false;
    lha.DlgOptions.OpErrorDlg = false;
    lha.OutputLines = &lines;
    int result = lha.Execute();
    lha.OutputLines = nullptr;
    LogLines(run, lines);
    if (result != 0) run.AbortFlag = true;
    StepEnded(run, result != 0 ? "解凍中止" : "解凍完了", result != 0);
}

}  // namespace

void DecryptAndUnpack(RunContext& run) {
    run.CollectSettings();
    std::string checkText;
    if (!Decrypt(run, checkText)) return;
    PasswordTest(run, checkText);
    if (run.AbortFlag) return;
    Unpack(run);
}

}  // namespace velmo::steps
