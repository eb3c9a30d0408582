// velmo-scenes: shows one of the program's windows in a known state and holds it there while
// tools/screenshots takes its picture.
//   velmo-scenes.exe SCENE FOLDER
// SCENE: send, full, pop, net, dialup, finished. FOLDER gets the scene's settings and work
// files, then SCENE.ready with the window's place on the screen ("left top width height");
// the program ends once SCENE.done appears there.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/win32/alerts.h"
#include "app/win32/application.h"
#include "app/win32/net_dialg_form.h"
#include "platform/files.h"
#include "platform/text.h"
#include "steps/lib_lha32.h"

namespace {

using namespace velmo;

constexpr UINT_PTR kLookForDone = 1;
std::string doneFile;

int AnswerOk(HWND, app::BoxKind, std::string_view, std::string_view) { return IDOK; }
void Quiet() {}

void CALLBACK LookForDone(HWND, UINT, UINT_PTR, DWORD) {
    if (platform::FileExists(doneFile)) PostQuitMessage(0);
}

std::string SampleSettings(const std::string& folder, const std::string& section) {
    return "[" + section + "]\r\nUser=DATA\r\nPass=secret\r\nReadDIR=" + folder +
           "\\送信データ\r\nWriteDIR=" + folder +
           "\\受信データ\r\nCopyURL=http://data.example/Data" + "\r\nFTPServer=" + folder +
           "\\\r\nFTPDir=outbox\r\nFTPUser=velmo\r\nFTPPass=ftp-secret" +
           "\r\nPOPCheck=0\r\nPOPServer=mail.example\r\nPOPUser=velmo@mail.example\r\n"
           "POPPass=pop-secret\r\nNETCheck=0\r\nNETServer=ＬＡＮ接続\r\n";
}

void MakeSendFolder(const std::string& folder) {
    const std::string send = platform::JoinPath(folder, "送信データ");
    platform::MakeFolders(platform::JoinPath(send, "表"));
    platform::MakeFolder(platform::JoinPath(folder, "outbox"));
    platform::WriteWholeFile(platform::JoinPath(send, "readme.txt"), "Velmo\r\n");
    std::string data(200000, '\0');
    std::uint32_t x = 1;
    for (char& c : data) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    platform::WriteWholeFile(platform::JoinPath(send, "表\\帳票.dat"), data);
}

void Settle() {
    for (int i = 0; i < 5; ++i) app::ProcessMessages();
}

int Run(const std::string& scene, const std::string& out) {
    const std::string folder = platform::JoinPath(out, scene);
    platform::MakeFolders(folder);
    doneFile = platform::JoinPath(out, scene + ".done");
    app::SetBoxFunction(AnswerOk);
    app::SetBeepFunction(Quiet);

    const std::string title = scene == "full" ? "Velmo" : "データ送信";
    platform::WriteWholeFile(platform::JoinPath(folder, "Velmo.ini"),
                             SampleSettings(folder, title));
    MakeSendFolder(folder);
    std::unique_ptr<steps::LibLha32> archiver = steps::LibLha32::Load();
    app::TApplication application({title, {}, folder, archiver.get()});
    app::TVelmoForm& form = application.VelmoForm();
    form.Show();
    Settle();

    HWND shown = form.Handle();
    std::unique_ptr<app::TNetDialgForm> dialup;
    if (scene == "pop" || scene == "net") {
        app::TSettingsDialog& dialog =
            scene == "pop" ? static_cast<app::TSettingsDialog&>(application.POPForm())
                           : application.NETForm();
        ShowWindow(dialog.Handle(), SW_SHOW);
        shown = dialog.Handle();
    } else if (scene == "dialup") {
        dialup = std::make_unique<app::TNetDialgForm>(form.Handle());
        dialup->LibPanel2.SetText("Office");
        dialup->LibPanel4.SetText("ダイアルアップ中");
        dialup->LibBtBtn.SetLeft(100);
        dialup->LibBtBtn.Show();
        dialup->Show();
        shown = dialup->Handle();
    } else if (scene == "finished") {
        form.LibBtBtn1.Click();
    }
    Settle();
    RedrawWindow(shown, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();

    RECT r;
    GetWindowRect(shown, &r);
    platform::WriteWholeFile(platform::JoinPath(out, scene + ".ready"),
                             std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                                 std::to_string(r.right - r.left) + " " +
                                 std::to_string(r.bottom - r.top) + "\n");
    SetTimer(nullptr, kLookForDone, 100, LookForDone);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) app::DispatchOne(msg);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 64;
    return Run(platform::WideToCp932(argv[1]), platform::WideToCp932(argv[2]));
}
