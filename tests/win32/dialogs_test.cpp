// The settings dialogs opened from the main window's check boxes, and the dial-up progress
// window's class.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/win32/net_dialg_form.h"
#include "window_test_support.h"

namespace velmo::testing {
namespace {

using controls::Bounds;

std::vector<std::string> Captions(HWND form) {
    std::vector<std::string> captions;
    for (const ChildWindow& c : ChildWindowsOf(form))
        if (!c.text.empty() && c.className != "Edit" && c.className != "ComboBox")
            captions.push_back(c.text);
    return captions;
}

// A message still in the queue: nobody ran a loop that would have taken it.
bool StillQueued(HWND hwnd, UINT message) {
    MSG msg;
    return PeekMessageW(&msg, hwnd, message, message, PM_NOREMOVE) != 0;
}

void Type(HWND edit, std::wstring_view text) {
    for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 0);
}

TEST(Dialogs, TickingPopBeforeFtpOpensItsDialogAndClosingKeepsWhatWasTyped) {
    TestProgram program("データ送信", {}, "[データ送信]\r\nPOPCheck=0\r\n");
    program.Show();
    app::TPOPForm& pop = program.Pop();
    EXPECT_EQ(pop.Caption(), "POP before FTP");
    EXPECT_EQ(pop.ClientSize().cx, 538);
    EXPECT_EQ(pop.ClientSize().cy, 163);
    EXPECT_EQ(Captions(pop.Handle()), (std::vector<std::string>{"ＰＯＰサーバ：", "ユーザＩＤ：",
                                                                "パスワード：", "設定完了"}));
    EXPECT_EQ(pop.Edit11.GetBounds().width, 392);
    EXPECT_EQ(SendMessageW(pop.Edit13.Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_FALSE(pop.Visible());

    // What the operator does once the dialog is up, handled by the dialog's own loop.
    Type(pop.Edit11.Handle(), L"pop.example");
    PostMessageW(pop.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Click(program.Form().LibCChk1);

    EXPECT_TRUE(program.Form().LibCChk1.Checked());
    EXPECT_EQ(pop.Edit11.Text(), "pop.example");
    EXPECT_FALSE(pop.Visible());
    EXPECT_TRUE(IsWindowEnabled(program.Form().Handle()));
    EXPECT_EQ(program.Form().CollectSettings().PopServer, "pop.example");
}

TEST(Dialogs, UntickingShowsNothingAndTickingAgainKeepsTheDialUpChoice) {
    TestProgram program("データ送信", {});
    program.Show();
    app::TNETForm& net = program.Net();
    EXPECT_EQ(net.Caption(), "ダイアルアップ接続設定");
    EXPECT_EQ(net.ClientSize().cx, 538);
    EXPECT_EQ(net.ClientSize().cy, 163);
    EXPECT_EQ(Captions(net.Handle()),
              (std::vector<std::string>{"ダイアルアップ接続先：", "ユーザＩＤ：", "パスワード：",
                                        "設定完了"}));
    EXPECT_EQ(net.LibCBox1.GetBounds().width, 321);
    EXPECT_EQ(SendMessageW(net.LibCBox1.Handle(), CB_GETITEMHEIGHT, 0, 0), 18);
    EXPECT_TRUE(GetWindowLongW(net.LibCBox1.Handle(), GWL_STYLE) & CBS_OWNERDRAWVARIABLE);

    PostMessageW(net.LibCBox1.Handle(), CB_SETCURSEL, 0, 0);
    PostMessageW(net.LibBtBtn2.Handle(), BM_CLICK, 0, 0);
    Click(program.Form().LibCChk2);  // ticks it: the dialog runs until "設定完了"
    EXPECT_TRUE(program.Form().LibCChk2.Checked());
    EXPECT_EQ(net.LibCBox1.Text(), "ＬＡＮ接続");
    EXPECT_FALSE(net.Visible());

    PostMessageW(net.Handle(), WM_CLOSE, 0, 0);
    Click(program.Form().LibCChk2);  // unticks it: no dialog, so nobody takes the close
    EXPECT_FALSE(program.Form().LibCChk2.Checked());
    EXPECT_TRUE(StillQueued(net.Handle(), WM_CLOSE));

    Click(program.Form().LibCChk2);  // ticked again: the queued close ends the dialog
    EXPECT_TRUE(program.Form().LibCChk2.Checked());
    EXPECT_FALSE(StillQueued(net.Handle(), WM_CLOSE));
    EXPECT_EQ(net.LibCBox1.ItemIndex(), 0);
    EXPECT_EQ(program.Form().ControlValues().netServer, "ＬＡＮ接続");
}

TEST(Dialogs, DialUpProgressWindow) {
    TestProgram program("データ送信", {});
    app::TNetDialgForm dialog(program.Form().Handle());
    const HWND hwnd = dialog.Handle();
    EXPECT_EQ(
        GetWindowLongW(hwnd, GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU), 0);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(dialog.ClientSize().cx, 263);
    EXPECT_EQ(dialog.ClientSize().cy, 99);
    const std::pair<const controls::TLibControl*, Bounds> places[] = {
        {&dialog.LibPanel2, {5, 11, 251, 32}},    {&dialog.LibPanel3, {5, 43, 251, 22}},
        {&dialog.LibPanel4, {5, 64, 251, 22}},    {&dialog.LibBtBtn, {191, 40, 60, 24}},
        {&dialog.ProgressBar, {10, 44, 175, 18}},
    };
    for (const auto& [control, place] : places) EXPECT_EQ(control->GetBounds(), place);
    EXPECT_EQ(dialog.LibBtBtn.Text(), "中　断");
    EXPECT_FALSE(dialog.LibBtBtn.Visible());
    EXPECT_FALSE(dialog.ProgressBar.Visible());

    dialog.LibPanel4.SetText("ダイアルアップ中");
    dialog.AbortRequested = true;
    dialog.Show();
    EXPECT_TRUE(dialog.Visible());
    EXPECT_FALSE(dialog.AbortRequested);
    Click(dialog.LibBtBtn);
    EXPECT_TRUE(dialog.AbortRequested);
}

}  // namespace
}  // namespace velmo::testing
