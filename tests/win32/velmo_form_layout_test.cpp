// The main window's layouts by run mode, seen from outside, and the command line's effects.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text.h"
#include "window_test_support.h"

namespace velmo::testing {
namespace {

using controls::Bounds;

// The captions of the visible controls that carry one (edit fields hold values, not captions).
std::vector<std::string> VisibleCaptions(HWND form) {
    std::vector<std::string> captions;
    for (const ChildWindow& c : ChildWindowsOf(form))
        if (c.visible && !c.text.empty() && c.className != "Edit") captions.push_back(c.text);
    std::sort(captions.begin(), captions.end());
    return captions;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::string Utf8(const std::vector<std::string>& texts) {
    std::string out;
    for (const auto& t : texts) out += "[" + platform::Cp932ToUtf8(t) + "] ";
    return out;
}

std::string Utf8(const Bounds& b) {
    return std::to_string(b.left) + "/" + std::to_string(b.top) + "/" + std::to_string(b.width) +
           "/" + std::to_string(b.height);
}

SIZE OuterSize(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

const std::vector<std::string> kAccountCaptions = {"ユーザＩＤ", "パスワード",
                                                   "ダイアルアップ接続設定"};
const std::vector<std::string> kSendCaptions = {
    "送信対象フォルダ：", "送信先ＦＴＰサーバ：", "ＦＴＰフォルダ：", "ＦＴＰユーザＩＤ：",
    "ＦＴＰパスワード：", "POP before FTP",       "送信開始",         "送信終了"};
const std::vector<std::string> kReceiveCaptions = {"受信アドレス：", "保存フォルダ：", "受信開始",
                                                   "受信終了"};
const std::vector<std::string> kStepCaptions = {"① Down", "② 解凍", "④ 消去", "⑦ 圧縮", "⑧ Up"};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return Sorted(all);
}

TEST(Layout, SendModeShowsAccountSendPanelAndMemo) {
    TestProgram program("データ送信", {});
    program.Show();
    app::TVelmoForm& form = program.Form();
    const HWND hwnd = form.Handle();

    EXPECT_EQ(form.RunMode, 1);
    EXPECT_EQ(WindowTextOf(hwnd), "データ送信");
    EXPECT_EQ(VisibleCaptions(hwnd), Join({kAccountCaptions, kSendCaptions}))
        << Utf8(VisibleCaptions(hwnd));
    // The window is the account panel plus its margins; the send panel sits where the
    // progress panel would be, the memo below it.
    EXPECT_EQ(OuterSize(hwnd).cx, 615 + 25);
    EXPECT_EQ(OuterSize(hwnd).cy, 373 + 65);
    EXPECT_EQ(ChildByText(hwnd, "ユーザＩＤ").onForm.top,
              ChildByText(hwnd, "ユーザＩＤ").place.top + 10);
    EXPECT_EQ(form.MainPanel.GetBounds(), (Bounds{10, 10, 615, 373}));
    EXPECT_EQ(form.LibPanel3.GetBounds(), (Bounds{34, 75, 567, 172}));
    EXPECT_EQ(form.Memo1.GetBounds(), (Bounds{34, 244, 567, 123}));
    EXPECT_EQ(ChildByText(hwnd, "送信開始").place.top, 130);
    EXPECT_EQ(ChildByText(hwnd, "送信対象フォルダ：").place.top, 11);
    EXPECT_EQ(form.Edit1.GetBounds().top, 6);
    EXPECT_TRUE(form.LibBtBtn4.Visible());
    EXPECT_FALSE(IsWindowVisible(ChildByText(hwnd, "受信開始").hwnd));
    EXPECT_FALSE(IsWindowVisible(form.LibPanel1.Handle()));
    EXPECT_FALSE(IsWindowVisible(form.LibPanel9.Handle()));
    EXPECT_EQ(GetFocus(), ChildByText(hwnd, "送信開始").hwnd);
    // Nothing covers the send panel's start button.
    const Bounds start = ChildByText(hwnd, "送信開始").onForm;
    POINT middle{start.left + start.width / 2, start.top + start.height / 2};
    ClientToScreen(hwnd, &middle);
    EXPECT_EQ(WindowFromPoint(middle), ChildByText(hwnd, "送信開始").hwnd);
}

TEST(Layout, FullModeByTitleAloneKeepsTheDesignedLayout) {
    TestProgram program("Velmo", {});
    program.Show();
    app::TVelmoForm& form = program.Form();
    const HWND hwnd = form.Handle();

    EXPECT_EQ(form.RunMode, 0);
    EXPECT_EQ(WindowTextOf(hwnd), "Velmo");
    EXPECT_EQ(form.ClientSize().cx, 633);
    EXPECT_EQ(form.ClientSize().cy, 832);
    EXPECT_EQ(VisibleCaptions(hwnd),
              Join({kAccountCaptions, kSendCaptions, kReceiveCaptions, kStepCaptions, {"中　止"}}))
        << Utf8(VisibleCaptions(hwnd));
    const std::pair<const controls::TLibControl*, Bounds> places[] = {
        {&form.MainPanel, {10, 10, 615, 373}},  {&form.LibPanel2, {33, 395, 567, 172}},
        {&form.LibPanel3, {33, 569, 567, 172}}, {&form.LibPanel9, {33, 743, 567, 58}},
        {&form.LibPanel1, {34, 75, 567, 172}},  {&form.Memo1, {34, 244, 567, 123}},
    };
    for (const auto& [control, place] : places)
        EXPECT_EQ(control->GetBounds(), place)
            << WindowTextOf(control->Handle()) << " at " << Utf8(control->GetBounds());
    // Tops inside the panels, as designed.
    EXPECT_EQ(ChildByText(hwnd, "受信アドレス：").place.top, 40);
    EXPECT_EQ(form.Edit7.GetBounds().top, 35);
    EXPECT_EQ(ChildByText(hwnd, "保存フォルダ：").place.top, 75);
    EXPECT_EQ(form.Edit2.GetBounds().top, 70);
    EXPECT_EQ(ChildByText(hwnd, "受信開始").place.top, 112);
    EXPECT_EQ(ChildByText(hwnd, "受信終了").place.top, 112);
    EXPECT_EQ(ChildByText(hwnd, "送信終了").place.top, 130);
    EXPECT_TRUE(form.LibBtBtn3.Visible());
    EXPECT_FALSE(form.FileListBox.Visible());
    EXPECT_FALSE(form.FileListBox.Enabled());
    EXPECT_EQ(GetFocus(), form.ProButton.Handle());
}

TEST(Layout, ReceiveModeByTitleShowsTheReceivePanelInThePlaceOfProgress) {
    TestProgram program("データ受信", {});
    program.Show();
    app::TVelmoForm& form = program.Form();
    EXPECT_EQ(form.RunMode, 2);
    EXPECT_EQ(WindowTextOf(form.Handle()), "データ受信");
    EXPECT_EQ(VisibleCaptions(form.Handle()), Join({kAccountCaptions, kReceiveCaptions}));
    EXPECT_EQ(form.LibPanel2.GetBounds(), (Bounds{34, 75, 567, 172}));
    EXPECT_EQ(GetFocus(), form.LibBtBtn2.Handle());
}

TEST(Layout, UserWithNoDialogGivesTheReducedLayout) {
    TestProgram program("データ送信", {"/U:abc", "/N"});
    program.Show();
    app::TVelmoForm& form = program.Form();
    const HWND hwnd = form.Handle();
    EXPECT_EQ(VisibleCaptions(hwnd),
              Join({kAccountCaptions, {"送信対象フォルダ：", "送信開始", "送信終了"}}))
        << Utf8(VisibleCaptions(hwnd));
    EXPECT_FALSE(form.LibBtBtn4.Visible());
    EXPECT_FALSE(form.LibBtBtn3.Visible());
    // The folder row and the buttons move up to the receive panel's rows.
    EXPECT_EQ(ChildByText(hwnd, "送信対象フォルダ：").place.top, 40);
    EXPECT_EQ(form.Edit1.GetBounds().top, 35);
    EXPECT_EQ(form.Label2.GetBounds().top, 40);
    EXPECT_EQ(form.Edit2.GetBounds().top, 35);
    EXPECT_EQ(ChildByText(hwnd, "送信開始").place.top, 112);
    EXPECT_EQ(ChildByText(hwnd, "送信終了").place.top, 112);
    EXPECT_TRUE(form.Edit1.Enabled());
    EXPECT_TRUE(form.Edit2.Enabled());
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(Layout, FolderGivenAsWellLocksTheFolderFields) {
    TestProgram program("データ送信", {"/U:abc", "/F:C:\\送信", "/N"});
    program.Show();
    app::TVelmoForm& form = program.Form();
    EXPECT_FALSE(form.Edit1.Enabled());
    EXPECT_FALSE(form.Edit2.Enabled());
    EXPECT_EQ(form.Edit1.Text(), "C:\\送信");
    EXPECT_EQ(form.Edit2.Text(), "C:\\送信");
}

TEST(Layout, UserWithoutNoDialogKeepsTheWholeSendPanel) {
    TestProgram program("データ送信", {"/U:abc"});
    program.Show();
    EXPECT_EQ(VisibleCaptions(program.Form().Handle()), Join({kAccountCaptions, kSendCaptions}));
    EXPECT_FALSE(GetWindowLongW(program.Form().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

struct CommandLineCase {
    std::string title;
    std::vector<std::string> arguments;
    int runMode;
    std::string caption;
    std::string defaultUser, defaultFolder, iniName, noDialogArg;
};

TEST(CommandLine, EachSwitchReachesTheWindow) {
    const CommandLineCase cases[] = {
        // The title wins over /S and /R: this program always opens in send mode.
        {"データ送信", {"/R"}, 1, "データ送信", "", "", "", ""},
        {"Velmo", {"/R"}, 2, "データ受信", "", "", "", ""},
        {"Velmo", {"/S"}, 1, "データ送信", "", "", "", ""},
        {"Velmo", {"/S", "/R"}, 2, "データ受信", "", "", "", ""},
        {"Velmo", {}, 0, "Velmo", "", "", "", ""},
        {"データ送信", {"/U:abc"}, 1, "データ送信", "abc", "", "", ""},
        {"データ送信", {"x/U:abc"}, 1, "データ送信", "abc", "", "", ""},
        {"データ送信", {"/u:abc"}, 1, "データ送信", "", "", "", ""},
        {"データ送信", {"/U:abc", "/U:def"}, 1, "データ送信", "def", "", "", ""},
        {"データ送信", {"/F:D:\\ソ"}, 1, "データ送信", "", "D:\\ソ", "", ""},
        {"データ送信", {"/I:other.ini"}, 1, "データ送信", "", "", "other.ini", ""},
        {"データ送信", {"-x /N"}, 1, "データ送信", "", "", "", "-x /N"},
        {"データ送信", {"/n"}, 1, "データ送信", "", "", "", ""},
    };
    for (const CommandLineCase& c : cases) {
        TestProgram program(c.title, c.arguments);
        app::TVelmoForm& form = program.Form();
        const std::string where = platform::Cp932ToUtf8(c.title) + " " + Utf8(c.arguments);
        EXPECT_EQ(form.RunMode, c.runMode) << where;
        EXPECT_EQ(form.Caption(), c.caption) << where;
        EXPECT_EQ(form.DefaultUser, c.defaultUser) << where;
        EXPECT_EQ(form.DefaultFolder, c.defaultFolder) << where;
        EXPECT_EQ(form.IniName, c.iniName) << where;
        EXPECT_EQ(form.NoDialogArg, c.noDialogArg) << where;
        EXPECT_EQ(form.SettingsFile.Path(),
                  program.Path(c.iniName.empty() ? "Velmo.ini" : c.iniName))
            << where;
        EXPECT_EQ(form.LogPath, program.Path("Velmo.log")) << where;
        EXPECT_EQ((GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
                  !c.noDialogArg.empty())
            << where;
    }
}

}  // namespace
}  // namespace velmo::testing
