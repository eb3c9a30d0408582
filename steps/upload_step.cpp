// ⑧ Up: deliver the transfer work file to a folder by file copy, or to an FTP server.
#include <stdexcept>

#include "net/ftp.h"
#include "net/pop3.h"
#include "platform/files.h"
#include "steps/ftp_events.h"
#include "steps/step_report.h"
#include "steps/steps.h"

namespace velmo::steps {
namespace {

StepResult SendByFtp(RunContext& run) {
    const SettingsRecord& s = run.settings;
    net::T_FTP& ftp = *run.FTP;
    try {
        if (run.DialUp && !run.DialUp(run)) throw std::runtime_error("インターネット接続エラー");
        if (s.PopBeforeFtp) {
            net::T_Pop3& pop = *run.POP;
            pop.Hostname = s.PopServer;
            pop.UserName = s.PopUser;
            pop.Password = s.PopPassword;
            pop.Action();
            run.view.ProcessMessages();
        }
        ftp.Hostname = s.FtpServer;
        ftp.Username = s.FtpUser;
        ftp.Password = s.FtpPassword;
        ftp.Login();
        ftp.ChangeDir(s.FtpFolder);
        if (ftp.ReplyCode == 250) {
            ftp.URI = s.UserID;
            run.ByteCounter = 0;
            if (!ftp.Stream.LoadFromFile(run.TransferWorkFile()))
                throw std::runtime_error("transfer work file unreadable");
            ftp.Upload();
        }
        const bool stored = ftp.ReplyCode == 226;
        ftp.Logout();
        if (stored) return StepResult::Done;
        run.AbortFlag = true;
        return StepResult::Failed;
    } catch (const std::exception&) {
        try {
            ftp.Abort();
        } catch (const std::exception&) {
            // The connection is already gone; the step's outcome says enough.
        }
        run.AbortFlag = true;
        return StepResult::Error;
    }
}

}  // namespace

void Upload(RunContext& run) {
    run.CollectSettings();
    const SettingsRecord& s = run.settings;
    if (!platform::FileExists(run.TransferWorkFile())) return;
    StepStarted(run, s.UploadWord + "中", s.FtpServer);

    const std::string destination = s.FtpServer + s.FtpFolder;
    StepResult result;
    if (ProbeFolder(run, destination)) {
        result = CopyIntoFolder(run, run.TransferWorkFile(), destination);
    } else {
        result = SendByFtp(run);
        if (run.HangUp) run.HangUp(run);
    }
    StepEnded(run, s.UploadWord, result);
}

void FTPTrace(RunContext& run, const std::string& s, net::TTraceLevel level) {
    if (level != net::tl_command && level != net::tl_reply) return;
    run.view.SetDetailLine(s);
    run.view.AddLogLine(s);
}

void FTPDataReceived(RunContext& run, net::t_ftp_mode mode, std::int32_t bytes) {
    if (mode == net::tftp_getdir) return;
    run.ByteCounter += bytes;
    run.view.SetDetailLine(CountLine(run.ByteCounter, " Byte 完了しました。"));
    run.view.ProcessMessages();
}

void AttachComponents(RunContext& run, net::T_FTP& ftp, net::T_Pop3& pop) {
    run.FTP = &ftp;
    run.POP = &pop;
    ftp.Mode = net::tftp_upload;
    ftp.Async = false;
    auto trace = [&run](const std::string& s, net::TTraceLevel level) { FTPTrace(run, s, level); };
    ftp.OnTrace = trace;
    pop.OnTrace = trace;
    ftp.OnDataReceived = [&run](net::T_FTP&, net::t_ftp_mode mode, std::int32_t bytes) {
        FTPDataReceived(run, mode, bytes);
    };
}

}  // namespace velmo::steps
