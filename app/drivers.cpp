// The send and receive drivers.
#include "app/drivers.h"

#include "platform/files.h"
#include "steps/steps.h"

namespace velmo::app {
namespace {

bool DialUpSelected(const steps::SettingsRecord& s) { return s.UseDialUp && !s.DialEntry.empty(); }

std::optional<std::string> AccountCheck(const steps::SettingsRecord& s) {
    if (s.UserID.empty()) return "ユーザＩＤが未設定です。";
    if (s.Password.empty()) return "パスワードが未設定です。";
    return std::nullopt;
}

std::optional<std::string> DialUpCheck(const steps::SettingsRecord& s) {
    if (DialUpSelected(s) && s.DialUser.empty())
        return "ダイアルアップ接続ユーザＩＤが未設定です。";
    if (DialUpSelected(s) && s.DialPassword.empty())
        return "ダイアルアップ接続パスワードが未設定です。";
    return std::nullopt;
}

using Chain = std::function<void(steps::RunContext&)>;

RunOutcome Run(steps::RunContext& run, const DriverOptions& options, const Chain& first,
               const Chain& second, const Chain& cleanUp) {
    if (options.saveSettings) options.saveSettings();
    steps::ProgressView& view = run.view;
    view.EnablePanels(false);
    run.AbortFlag = false;
    view.ShowProButton("中　止", false);
    view.SetStepLine("");
    view.SetDetailLine("");
    view.SetPanelColour(steps::PanelColour::Silver);
    view.ShowProgressPanel();
    view.ClearLog();

    if (!run.AbortFlag) first(run);
    if (!run.AbortFlag) second(run);
    cleanUp(run);

    WriteLogFile(options.logPath, view.LogLines());
    view.HideProButton();
    const RunOutcome outcome = run.AbortFlag ? RunOutcome::Aborted : RunOutcome::Completed;
    if (options.noDialog)
        view.Beep();
    else if (outcome == RunOutcome::Aborted)
        view.ShowWarning("処理を中止しました。");
    else
        view.ShowInfo("処理は完了しました。");
    if (options.runMode == 0) view.EnablePanels(true);
    run.AbortFlag = true;
    view.ShowProButton("閉じる", true);
    return outcome;
}

}  // namespace

std::optional<std::string> SendCheck(const steps::RunContext& run) {
    const steps::SettingsRecord& s = run.settings;
    if (auto failed = AccountCheck(s)) return failed;
    // A destination that is a writable folder is reached by file copy: no line, no servers.
    if (steps::ProbeFolder(run, s.FtpServer + s.FtpFolder)) return std::nullopt;
    if (auto failed = DialUpCheck(s)) return failed;
    if (s.PopBeforeFtp && s.PopServer.empty()) return "ＰＯＰサーバが未設定です。";
    if (s.PopBeforeFtp && s.PopUser.empty()) return "ＰＯＰユーザＩＤが未設定です。";
    if (s.PopBeforeFtp && s.PopPassword.empty()) return "ＰＯＰパスワードが未設定です。";
    if (s.FtpServer.empty()) return "送信先ＦＴＰサーバが未設定です。";
    if (s.FtpFolder.empty()) return "送信先ＦＴＰフォルダが未設定です。";
    if (s.FtpUser.empty()) return "送信先ＦＴＰユーザＩＤが未設定です。";
    if (s.FtpPassword.empty()) return "送信先ＦＴＰパスワードが未設定です。";
    return std::nullopt;
}

std::optional<std::string> ReceiveCheck(const steps::RunContext& run) {
    const steps::SettingsRecord& s = run.settings;
    if (auto failed = AccountCheck(s)) return failed;
    if (auto failed = DialUpCheck(s)) return failed;
    if (s.ReceiveAddress.empty()) return "受信アドレスが未設定です。";
    return std::nullopt;
}

RunOutcome RunSend(steps::RunContext& run, const DriverOptions& options, const DriverSteps& steps) {
    run.CollectSettings();
    if (auto warning = SendCheck(run)) {
        run.view.ShowWarning(*warning);
        return RunOutcome::Refused;
    }
    return Run(run, options, steps.packAndEncrypt, steps.upload, steps.cleanUp);
}

RunOutcome RunReceive(steps::RunContext& run, const DriverOptions& options,
                      const DriverSteps& steps) {
    run.CollectSettings();
    if (auto warning = ReceiveCheck(run)) {
        run.view.ShowWarning(*warning);
        return RunOutcome::Refused;
    }
    return Run(run, options, steps.download, steps.decryptAndUnpack, steps.cleanUp);
}

void WriteLogFile(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text.append(line).append("\r\n");
    if (!platform::WriteWholeFile(path, text))
        throw ELogFileError("ログファイルに書き込めません: " + path);
}

}  // namespace velmo::app
