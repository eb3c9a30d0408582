// Drives one transfer the way the steps do, for bench/net/run to time against curl and cp.
//   net_bench ftp-upload HOST:PORT USER PASSWORD FILE NAME   STOR FILE as NAME, passive mode
//   net_bench download ADDRESS NAME FOLDER                    the download step: ADDRESS/NAME
//                                                             into FOLDER/NAME, 1024-byte blocks
//   net_bench copy SOURCE FOLDER                              copy with progress (no display)
//   net_bench load FILE                                       only the upload's load into memory
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "controls/lib_file.h"
#include "net/ftp.h"
#include "net/memory_stream.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/text.h"
#include "steps/steps.h"

namespace {

using namespace velmo;

int FtpUpload(char** argv) {
    net::T_FTP ftp;
    ftp.Hostname = argv[0];
    ftp.Username = argv[1];
    ftp.Password = argv[2];
    if (!ftp.Stream.LoadFromFile(argv[3])) return 2;
    ftp.Login();
    ftp.ChangeDir("/");
    if (ftp.ReplyCode != 250) return 3;
    ftp.URI = argv[4];
    ftp.Upload();
    const bool stored = ftp.ReplyCode == 226;
    ftp.Logout();
    return stored ? 0 : 4;
}

// A progress view that shows nothing: the step's own work is what is timed.
class SilentView : public steps::ProgressView {
  public:
    void SetStepLine(std::string_view) override {}
    void SetDetailLine(std::string_view) override {}
    void AddLogLine(std::string_view) override {}
    void ClearLog() override {}
    std::vector<std::string> LogLines() const override { return {}; }
    void SetPanelColour(steps::PanelColour) override {}
    void ShowProgressPanel() override {}
    void ProcessMessages() override {}
    void EnablePanels(bool) override {}
    void ShowProButton(std::string_view, bool) override {}
    void HideProButton() override {}
    void Beep() override {}
    void ShowWarning(std::string_view) override {}
    void ShowInfo(std::string_view) override {}
};

int Download(char** argv) {
    SilentView view;
    steps::SettingsRecord settings;
    settings.ReceiveAddress = argv[0];
    settings.UserID = argv[1];
    settings.DownloadWord = "download";
    steps::RunContext run(view, [&] { return settings; });
    run.ProgramFolder = platform::Utf8ToCp932(argv[2]);
    steps::Download(run);
    return run.AbortFlag ? 2 : 0;
}

int Load(char** argv) {
    net::TMemoryStream stream;
    return stream.LoadFromFile(argv[0]) ? 0 : 2;
}

int Copy(char** argv) { return controls::CopyFileWithProgress(argv[0], argv[1]) == 0 ? 0 : 4; }

}  // namespace

int main(int argc, char** argv) {
    if (argc == 7 && std::strcmp(argv[1], "ftp-upload") == 0) return FtpUpload(argv + 2);
    if (argc == 5 && std::strcmp(argv[1], "download") == 0) return Download(argv + 2);
    if (argc == 4 && std::strcmp(argv[1], "copy") == 0) return Copy(argv + 2);
    if (argc == 3 && std::strcmp(argv[1], "load") == 0) return Load(argv + 2);
    std::fprintf(stderr, "usage: net_bench ftp-upload|download|copy|load ...\n");
    return 1;
}
