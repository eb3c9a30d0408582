// velmo-cli: the send and receive runs of the window, driven from the same settings file.
#include <exception>
#include <string>

#include "app/command_line.h"
#include "app/drivers.h"
#include "app/settings.h"
#include "cli/terminal_view.h"
#include "controls/lib_file.h"
#include "net/ftp.h"
#include "net/pop3.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/text.h"
#include "steps/ftp_events.h"
#include "steps/lib_lha.h"

namespace {

using namespace velmo;

constexpr int kCompleted = 0, kAborted = 1, kRefused = 2, kUsage = 64;

int Usage() {
    platform::WriteText(platform::Stream::Err,
                        "usage: velmo-cli send|receive [/U:user] [/F:folder] [/I:file.ini] [/N]\n");
    return kUsage;
}

void Interrupted() { cli::TerminalView::interrupted = true; }

int Run(const std::vector<std::string>& args) {
    if (args.empty() || (args[0] != "send" && args[0] != "receive")) return Usage();
    const bool send = args[0] == "send";
    const app::CommandLine commandLine =
        app::ParseCommandLine(std::vector<std::string>(args.begin() + 1, args.end()));
    const std::string section = send ? "データ送信" : "データ受信";
    const std::string folder = platform::ProgramFolder();

    platform::ProfileFile ini(app::SettingsPath(folder, commandLine));
    app::SettingsValues values =
        app::ReadSettings(ini, section, commandLine.defaultUser, commandLine.defaultFolder);

    // The binding's own message ends the program when the library cannot be used.
    std::unique_ptr<steps::LibLha32> library = steps::LibLha32::Load();
    steps::TLibLha lha(*library);
    net::T_FTP ftp;
    net::T_Pop3 pop;

    cli::TerminalView view;
    steps::RunContext run(view, [&] { return app::CollectSettings(values); });
    run.ProgramFolder = folder;
    run.LibLha = &lha;
    steps::AttachComponents(run, ftp, pop);
    run.CopyIntoFolder = [](const std::string& source, const std::string& destination) {
        return controls::CopyFileWithProgress(source, destination);
    };
    // No dial-up service in a headless run: a selected dial-up entry cannot come up.
    run.DialUp = [](steps::RunContext& r) {
        return !(r.settings.UseDialUp && !r.settings.DialEntry.empty());
    };
    view.AttachAbortFlag(&run.AbortFlag);
    platform::OnInterrupt(Interrupted);

    app::DriverOptions options;
    options.saveSettings = [&] { app::WriteSettings(ini, section, values); };
    options.logPath = platform::JoinPath(folder, "Velmo.log");
    options.noDialog = commandLine.NoDialog();
    options.runMode = send ? 1 : 2;

    const app::DriverSteps standard = app::DriverSteps::Standard();
    app::RunOutcome outcome =
        send ? app::RunSend(run, options, standard) : app::RunReceive(run, options, standard);
    switch (outcome) {
        case app::RunOutcome::Refused:
            return kRefused;
        case app::RunOutcome::Completed:
            return kCompleted;
        case app::RunOutcome::Aborted:
            return kAborted;
    }
    return kAborted;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(velmo::platform::ProgramArguments(argc, argv));
    } catch (const std::exception& e) {
        velmo::platform::WriteText(velmo::platform::Stream::Err, std::string(e.what()) + "\n");
        return kAborted;
    }
}
