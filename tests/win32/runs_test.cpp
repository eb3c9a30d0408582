// Runs started from the main window's buttons: the progress display, the end of a run, the
// checks, the abort button, closing mid-run, and the single steps of the full mode.
#include <gtest/gtest.h>
#include <windows.h>

// After <windows.h>, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "app/settings.h"
#include "controls/win32/house_look.h"
#include "platform/files.h"
#include "platform/text.h"
#include "window_test_support.h"

namespace velmo::testing {
namespace {

// Calls `react` with every text the label is given while the run works, from inside the run:
// the test's way of pressing a button at a chosen step.
class LabelWatch {
  public:
    LabelWatch(const controls::TLibControl& label, std::function<void(const std::string&)> react)
        : hwnd_(label.Handle()), react_(std::move(react)) {
        SetWindowSubclass(hwnd_, Watch, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ~LabelWatch() { RemoveWindowSubclass(hwnd_, Watch, 1); }
    LabelWatch(const LabelWatch&) = delete;
    LabelWatch& operator=(const LabelWatch&) = delete;

  private:
    static LRESULT CALLBACK Watch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
        if (message == WM_SETTEXT && lParam)
            reinterpret_cast<LabelWatch*>(data)->react_(
                platform::WideToCp932(reinterpret_cast<const wchar_t*>(lParam)));
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    HWND hwnd_;
    std::function<void(const std::string&)> react_;
};

// Window classes created on this thread while it is installed.
class CreatedWindows {
  public:
    CreatedWindows() { hook_ = SetWindowsHookExW(WH_CBT, Record, nullptr, GetCurrentThreadId()); }
    ~CreatedWindows() { UnhookWindowsHookEx(hook_); }
    static std::vector<std::string> classes;

  private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            wchar_t name[64] = {};
            GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64);
            classes.push_back(platform::WideToCp932(name));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};
std::vector<std::string> CreatedWindows::classes;

// A deterministic file that packs badly: many cipher blocks.
std::string NoiseBytes(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t x = 12345;
    for (char& c : bytes) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    return bytes;
}

// A send folder with a few files, a destination folder beside it, and the settings of a send
// to that folder. Everything lives in the program's scratch folder.
struct FolderSend {
    explicit FolderSend(const std::string& root)
        : send(platform::JoinPath(root, "send")), destination(platform::JoinPath(root, "dest")) {
        platform::MakeFolders(platform::JoinPath(send, "表"));
        platform::MakeFolder(destination);
        files = {{"a.txt", "hello\r\n"}, {"表\\ソフト.bin", NoiseBytes(60000)}};
        for (const auto& [name, bytes] : files)
            platform::WriteWholeFile(platform::JoinPath(send, name), bytes);
        ini = "[データ送信]\r\nUser=u1\r\nPass=secret\r\nReadDIR=" + send +
              "\r\nFTPServer=" + root + "\\\r\nFTPDir=dest\r\nPOPCheck=0\r\n";
    }
    std::string send, destination, ini;
    std::vector<std::pair<std::string, std::string>> files;
};

TEST(Runs, SendToAFolderFromTheStartButton) {
    Alerts alerts;
    TestFolder root;
    FolderSend setup(root.Path());
    TestProgram program("データ送信", {}, setup.ini);
    program.Show();
    app::TVelmoForm& form = program.Form();
    const std::string home = program.Folder();
    EXPECT_EQ(form.PassEdit.Text(), "secret");  // stored plain, taken as it is

    CreatedWindows created;
    Click(form.LibBtBtn1);

    EXPECT_EQ(alerts.Texts(), std::vector<std::string>{"処理は完了しました。"});
    EXPECT_EQ(alerts.boxes.at(0).kind, app::BoxKind::Info);
    EXPECT_EQ(alerts.beeps, 1);
    const std::vector<std::string> memo = form.Memo1.Lines();
    ASSERT_GE(memo.size(), 12u) << Utf8(memo);
    EXPECT_EQ(memo[0], "圧縮中");
    EXPECT_EQ(memo[1], "フォルダ：" + setup.send + " → 書庫名：" + home + "\\u1.$$$");
    const std::vector<std::string> tail(memo.end() - 11, memo.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "暗号化中", tail[1], "暗号化完了", "", "アップロード中", root.Path() + "\\",
                        "アップロード完了", "", "ワーク消去中", "処理完了", ""}))
        << Utf8(memo);
    EXPECT_TRUE(tail[1].ends_with(" Byte 暗号化しました。")) << Utf8(memo);
    EXPECT_TRUE(Contains(memo, "圧縮完了"));
    EXPECT_EQ(FileText(form.LogPath), LogText(memo));

    // The file went by the copy window; the work files are gone.
    EXPECT_TRUE(Contains(created.classes, "TCopyProgressForm"));
    EXPECT_TRUE(platform::FileExists(platform::JoinPath(setup.destination, "u1")));
    EXPECT_FALSE(platform::FileExists(platform::JoinPath(home, "u1")));
    EXPECT_FALSE(platform::FileExists(platform::JoinPath(home, "u1.$$$")));

    // The settings were stored at the start, the password scrambled.
    platform::ProfileFile ini(program.Path("Velmo.ini"));
    EXPECT_EQ(ini.ReadString("データ送信", "Pass", ""), app::ScramblePassword("secret"));
    EXPECT_EQ(ini.ReadString("データ送信", "WriteDIR", "?"), "UserData");

    // The finished send window: the progress panel over the send panel, only "閉じる" left.
    EXPECT_TRUE(IsWindowVisible(form.LibPanel1.Handle()));
    EXPECT_EQ(form.LibPanel1.Colour(), controls::kSilver);
    EXPECT_EQ(form.ProLabel1.Text(), "処理完了");
    EXPECT_EQ(form.ProButton.Text(), "閉じる");
    EXPECT_TRUE(form.ProButton.Focused());
    EXPECT_FALSE(form.LibPanel3.Enabled());
    EXPECT_FALSE(form.MainPanel.Enabled());
    EXPECT_EQ(form.CloseResult, 1);
    EXPECT_TRUE(form.Run().AbortFlag);
    EXPECT_FALSE(form.ConfirmClose);

    // Enter on the focused button closes the window.
    PostMessageW(form.ProButton.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    app::ProcessMessages();
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(form.ModalResult(), 1);
}

TEST(Runs, ReceiveFromTheFolderASendLeftItIn) {
    Alerts alerts;
    TestFolder root;
    FolderSend setup(root.Path());
    {
        TestProgram sender("データ送信", {}, setup.ini);
        sender.Show();
        Click(sender.Form().LibBtBtn1);
        ASSERT_EQ(alerts.Texts(), std::vector<std::string>{"処理は完了しました。"});
    }
    const std::string save = root.Path("save");
    TestProgram receiver("データ受信", {},
                         "[データ受信]\r\nUser=u1\r\nPass=secret\r\nCopyURL=" + setup.destination +
                             "\r\nWriteDIR=" + save + "\r\n");
    receiver.Show();
    Click(receiver.Form().LibBtBtn2);
    EXPECT_EQ(alerts.Texts(),
              (std::vector<std::string>{"処理は完了しました。", "処理は完了しました。"}));
    for (const auto& [name, bytes] : setup.files)
        EXPECT_EQ(FileText(platform::JoinPath(save, name)), bytes) << platform::Cp932ToUtf8(name);
    const std::vector<std::string> memo = receiver.Form().Memo1.Lines();
    EXPECT_EQ(memo.at(0), "ダウンロード中");
    EXPECT_EQ(memo.at(1), setup.destination);
    EXPECT_TRUE(Contains(memo, "暗号解析完了")) << Utf8(memo);
    EXPECT_TRUE(Contains(memo, "解凍完了")) << Utf8(memo);
    EXPECT_EQ(FileText(receiver.Form().LogPath), LogText(memo));
    EXPECT_EQ(receiver.Form().CloseResult, 1);
}

TEST(Runs, AbortButtonDuringEncipherStopsTheRunAndCleansUp) {
    Alerts alerts;
    TestFolder root;
    FolderSend setup(root.Path());
    TestProgram program("データ送信", {}, setup.ini);
    program.Show();
    app::TVelmoForm& form = program.Form();
    LabelWatch press(form.ProLabel1, [&](const std::string& text) {
        if (text == "暗号化中") PostMessageW(form.ProButton.Handle(), BM_CLICK, 0, 0);
    });
    Click(form.LibBtBtn1);

    EXPECT_EQ(alerts.Texts(), std::vector<std::string>{"処理を中止しました。"});
    EXPECT_EQ(alerts.boxes.at(0).kind, app::BoxKind::Warning);
    const std::vector<std::string> memo = form.Memo1.Lines();
    const std::vector<std::string> tail(memo.end() - 7, memo.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"暗号化中", tail[1], "暗号化中止", "", "ワーク消去中",
                                              "処理中止", ""}))
        << Utf8(memo);
    EXPECT_FALSE(Contains(memo, "アップロード中"));
    EXPECT_EQ(FileText(form.LogPath), LogText(memo));
    EXPECT_EQ(form.LibPanel1.Colour(), controls::kRed);
    EXPECT_EQ(form.CloseResult, 2);
    EXPECT_EQ(form.ProButton.Text(), "閉じる");
    EXPECT_FALSE(platform::FileExists(platform::JoinPath(setup.destination, "u1")));
    EXPECT_FALSE(platform::FileExists(program.Path("u1")));
    EXPECT_FALSE(platform::FileExists(program.Path("u1.$$$")));
}

TEST(Runs, NoDialogEndsTheRunWithABeepAlone) {
    Alerts alerts;
    TestFolder root;
    FolderSend setup(root.Path());
    TestProgram program("データ送信", {"/N"}, setup.ini);
    program.Show();
    Click(program.Form().LibBtBtn1);
    EXPECT_TRUE(alerts.boxes.empty()) << Utf8(alerts.Texts());
    EXPECT_EQ(alerts.beeps, 1);
    EXPECT_EQ(program.Form().ProButton.Text(), "閉じる");
    EXPECT_EQ(program.Form().CloseResult, 1);
}

TEST(Runs, EachSendCheckWarnsWithItsTextAndChangesNothing) {
    Alerts alerts;
    TestProgram program("データ送信", {});
    program.Show();
    app::TVelmoForm& form = program.Form();
    app::TPOPForm& pop = program.Pop();
    app::TNETForm& net = program.Net();
    net.LibCBox1.Add("Office");  // a phone-book entry, as the dial-up component would list it

    // A complete FTP send with POP before FTP over dial-up; each case empties what it names.
    auto complete = [&] {
        form.UserEdit.SetText("u");
        form.PassEdit.SetText("p");
        form.LibCChk2.SetChecked(true);
        net.LibCBox1.SelectText("Office");
        net.Edit12.SetText("du");
        net.Edit13.SetText("dp");
        form.LibCChk1.SetChecked(true);
        pop.Edit11.SetText("pop.invalid");
        pop.Edit12.SetText("pu");
        pop.Edit13.SetText("pp");
        form.Edit3.SetText("ftp.invalid");
        form.Edit4.SetText("/no-such-folder");
        form.Edit5.SetText("fu");
        form.Edit6.SetText("fp");
    };
    struct Case {
        std::function<void()> change;
        std::string warning;
    };
    const Case cases[] = {
        {[&] { form.UserEdit.SetText(""), form.Edit3.SetText(""); }, "ユーザＩＤが未設定です。"},
        {[&] { form.PassEdit.SetText(""); }, "パスワードが未設定です。"},
        {[&] { net.Edit12.SetText(""); }, "ダイアルアップ接続ユーザＩＤが未設定です。"},
        {[&] { net.Edit13.SetText(""); }, "ダイアルアップ接続パスワードが未設定です。"},
        {[&] { pop.Edit11.SetText(""); }, "ＰＯＰサーバが未設定です。"},
        {[&] { pop.Edit12.SetText(""); }, "ＰＯＰユーザＩＤが未設定です。"},
        {[&] { pop.Edit13.SetText(""); }, "ＰＯＰパスワードが未設定です。"},
        {[&] { form.Edit3.SetText(""); }, "送信先ＦＴＰサーバが未設定です。"},
        {[&] { form.Edit4.SetText(""); }, "送信先ＦＴＰフォルダが未設定です。"},
        {[&] { form.Edit5.SetText(""); }, "送信先ＦＴＰユーザＩＤが未設定です。"},
        {[&] { form.Edit6.SetText(""); }, "送信先ＦＴＰパスワードが未設定です。"},
        // The local network needs no dial-up account; POP off needs no POP settings.
        {[&] {
             net.LibCBox1.SelectText("ＬＡＮ接続");
             net.Edit12.SetText("");
             form.LibCChk1.SetChecked(false);
             pop.Edit11.SetText("");
             form.Edit6.SetText("");
         },
         "送信先ＦＴＰパスワードが未設定です。"},
    };
    for (const Case& c : cases) {
        complete();
        c.change();
        alerts.boxes.clear();
        Click(form.LibBtBtn1);
        ASSERT_EQ(alerts.boxes.size(), 1u) << platform::Cp932ToUtf8(c.warning);
        EXPECT_EQ(alerts.boxes[0].text, c.warning);
        EXPECT_EQ(alerts.boxes[0].kind, app::BoxKind::Warning);
    }
    // Refused starts store nothing and show nothing of a run.
    EXPECT_FALSE(platform::FileExists(program.Path("Velmo.ini")));
    EXPECT_FALSE(platform::FileExists(form.LogPath));
    EXPECT_TRUE(form.Memo1.Lines().empty());
    EXPECT_FALSE(IsWindowVisible(form.LibPanel1.Handle()));
    EXPECT_TRUE(form.LibPanel3.Enabled());
    EXPECT_EQ(form.CloseResult, 2);
}

TEST(Runs, LogFileThatCannotBeWrittenShowsItsErrorAndLeavesTheWindowClosable) {
    Alerts alerts;
    TestFolder root;
    FolderSend setup(root.Path());
    TestProgram program("データ送信", {}, setup.ini);
    program.Show();
    app::TVelmoForm& form = program.Form();
    platform::MakeFolder(form.LogPath);  // a folder where the log file should go
    Click(form.LibBtBtn1);
    ASSERT_EQ(alerts.boxes.size(), 1u) << Utf8(alerts.Texts());
    EXPECT_EQ(alerts.boxes[0].kind, app::BoxKind::Error);
    EXPECT_NE(alerts.boxes[0].text.find("Velmo.log"), std::string::npos);
    EXPECT_EQ(form.ProButton.Text(), "中　止");  // the run ended before its last steps
    EXPECT_FALSE(form.ConfirmClose);
    form.Close();
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(alerts.boxes.size(), 1u);
}

struct CloseCase {
    std::vector<std::string> arguments;
    std::deque<int> answers;
    bool asked;
    bool closed;
    std::string end;  // the end message, if any
};

TEST(Runs, ClosingDuringARunAsksThenStopsItAndClosesOnceCleanedUp) {
    const CloseCase cases[] = {
        {{}, {IDOK}, true, true, "処理を中止しました。"},
        {{}, {IDCANCEL}, true, false, "処理は完了しました。"},
        {{"/N"}, {}, false, true, ""},
    };
    for (const CloseCase& c : cases) {
        Alerts alerts;
        alerts.answers = c.answers;
        TestFolder root;
        FolderSend setup(root.Path());
        TestProgram program("データ送信", c.arguments, setup.ini);
        program.Show();
        app::TVelmoForm& form = program.Form();
        LabelWatch close(form.ProLabel1, [&](const std::string& text) {
            if (text == "暗号化中") PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
        });
        Click(form.LibBtBtn1);

        std::vector<std::string> expected;
        if (c.asked) expected.push_back("データ送信を終了します、よろしいですか？");
        if (!c.end.empty()) expected.push_back(c.end);
        EXPECT_EQ(alerts.Texts(), expected) << Utf8(alerts.Texts());
        if (c.asked) {
            EXPECT_EQ(alerts.boxes.at(0).kind, app::BoxKind::Confirm);
        }
        EXPECT_EQ(form.Closed(), c.closed);
        const std::vector<std::string> memo = form.Memo1.Lines();
        EXPECT_EQ(Contains(memo, "処理中止"), c.closed) << Utf8(memo);
        EXPECT_EQ(FileText(form.LogPath), LogText(memo));
        EXPECT_FALSE(platform::FileExists(program.Path("u1")));
        EXPECT_FALSE(platform::FileExists(program.Path("u1.$$$")));
        EXPECT_FALSE(form.ConfirmClose);
    }
}

TEST(Runs, ClosingWhileIdleAsksNothing) {
    Alerts alerts;
    TestProgram program("データ送信", {});
    program.Show();
    Click(program.Form().CloseButton1);
    EXPECT_TRUE(program.Form().Closed());
    EXPECT_TRUE(alerts.boxes.empty());
    EXPECT_EQ(program.Form().ModalResult(), 2);
}

TEST(Runs, FullModeSingleStepsAppendToTheMemoAndLeaveTheLogFileAlone) {
    Alerts alerts;
    TestFolder root;
    FolderSend setup(root.Path());
    std::string ini = setup.ini;
    ini.replace(1, std::string("データ送信").size(), "Velmo");
    TestProgram program("Velmo", {}, ini);
    program.Show();
    app::TVelmoForm& form = program.Form();

    // A start button pressed while a step works is not started inside it.
    LabelWatch press(form.ProLabel1, [&](const std::string& text) {
        if (text == "圧縮中") PostMessageW(form.LibBtBtn1.Handle(), BM_CLICK, 0, 0);
    });
    Click(form.Button7);
    EXPECT_TRUE(alerts.boxes.empty()) << Utf8(alerts.Texts());
    EXPECT_TRUE(platform::FileExists(program.Path("u1")));
    Click(form.Button4);
    const std::vector<std::string> memo = form.Memo1.Lines();
    EXPECT_EQ(memo.at(0), "圧縮中");
    EXPECT_EQ(std::vector<std::string>(memo.end() - 3, memo.end()),
              (std::vector<std::string>{"ワーク消去中", "処理完了", ""}));
    EXPECT_TRUE(Contains(memo, "暗号化完了"));
    EXPECT_FALSE(platform::FileExists(program.Path("u1")));
    EXPECT_FALSE(platform::FileExists(form.LogPath));
    EXPECT_FALSE(platform::FileExists(program.Path("Velmo.ini")) &&
                 FileText(program.Path("Velmo.ini")) != ini);

    // A whole run in the full mode clears the memo, writes the log and gives the panels back.
    Click(form.LibBtBtn1);
    EXPECT_EQ(alerts.Texts(), std::vector<std::string>{"処理は完了しました。"});
    EXPECT_EQ(form.Memo1.Lines().at(0), "圧縮中");
    EXPECT_EQ(FileText(form.LogPath), LogText(form.Memo1.Lines()));
    EXPECT_TRUE(form.LibPanel3.Enabled());
    EXPECT_TRUE(form.LibPanel9.Enabled());
    EXPECT_EQ(form.ProButton.Text(), "閉じる");
}

}  // namespace
}  // namespace velmo::testing
