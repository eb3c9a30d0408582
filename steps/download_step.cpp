// ① Down: fetch the transfer work file from a folder by file copy, or by HTTP GET.
#include <stdexcept>

#include "platform/files.h"
#include "platform/http.h"
#include "platform/text.h"
#include "steps/step_report.h"
#include "steps/steps.h"

namespace velmo::steps {
namespace {

class EDownload : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The body in blocks of at most 1024 bytes, one count on the detail line per block, until the
// end or the abort button. An address that cannot be opened is an error of its own here: left
// as "completed", the run would go on to report a missing transfer file as a bad password.
void HttpDownload(RunContext& run, const std::string& url, const std::string& target) {
    run.ByteCounter = 0;
    std::unique_ptr<platform::HttpGet> get = platform::HttpGet::Open(url, "Orvanta");
    if (!get) throw EDownload("address cannot be opened");
    platform::File file;
    if (!file.Open(target, platform::File::Mode::Write))
        throw EDownload("transfer work file cannot be created");
    std::string detail;
    // Blocks are collected into larger writes: one write call per 1024 bytes would cost more
    // than the transfer itself. What arrived is on disk when the loop ends, abort included.
    std::string pending;
    bool written = true;
    char block[1024];
    for (;;) {
        std::ptrdiff_t n = get->Read(block, sizeof block);
        if (n < 0) n = 0;  // a failed read ends the body like its end
        pending.append(block, static_cast<std::size_t>(n));
        if (pending.size() >= 64 * 1024) {
            written = file.Write(pending.data(), pending.size());
            pending.clear();
            if (!written) break;
        }
        run.ByteCounter += n;
        detail = CountLine(run.ByteCounter, " Byte 完了しました。");
        run.view.SetDetailLine(detail);
        run.view.ProcessMessages();
        if (n == 0 || run.AbortFlag) break;
    }
    if (written && !pending.empty()) written = file.Write(pending.data(), pending.size());
    run.view.AddLogLine(detail);
    if (!file.Close() || !written) throw EDownload("transfer work file cannot be written");
}

StepResult FetchByHttp(RunContext& run, const std::string& url, const std::string& target) {
    try {
        if (run.DialUp && !run.DialUp(run)) throw EDownload("インターネット接続エラー");
        HttpDownload(run, url, target);
        return run.AbortFlag ? StepResult::Stopped : StepResult::Done;
    } catch (const std::exception&) {
        run.AbortFlag = true;
        return StepResult::Error;
    }
}

}  // namespace

void Download(RunContext& run) {
    run.CollectSettings();
    const SettingsRecord& s = run.settings;
    StepStarted(run, s.DownloadWord + "中", s.ReceiveAddress);
    const std::string source = s.ReceiveAddress + "\\" + s.UserID;
    const std::string url = s.ReceiveAddress + "/" + s.UserID;
    StepResult result;
    if (platform::FileExists(source)) {
        result = CopyIntoFolder(run, source, run.ProgramFolder);
    } else {
        result = FetchByHttp(run, url, run.TransferWorkFile());
        if (run.HangUp) run.HangUp(run);
    }
    StepEnded(run, s.DownloadWord, result);
}

}  // namespace velmo::steps
