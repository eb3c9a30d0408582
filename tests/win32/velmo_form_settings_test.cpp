// The settings in the window: read into the controls when it is shown, the position kept when
// it closes, the dialogs' fields, and nothing else written without a run.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "platform/files.h"
#include "platform/text.h"
#include "window_test_support.h"

namespace velmo::testing {
namespace {

using app::SettingsValues;

std::string FileText(const std::string& path) { return platform::ReadWholeFile(path).value_or(""); }

// The lines closing the window adds to the section: its position.
std::string PositionLines(const app::TVelmoForm& form) {
    RECT r = form.WindowBounds();
    return "FormPosition=1\r\nFormTop=" + std::to_string(r.top) +
           "\r\nFormLeft=" + std::to_string(r.left) + "\r\n";
}

TEST(Settings, FirstStartWithoutFileShowsThePlainDefaultsAndStoresOnlyThePosition) {
    TestProgram program("データ送信", {});
    program.Show();
    app::TVelmoForm& form = program.Form();
    EXPECT_EQ(form.ControlValues(), app::PlainDefaults());
    EXPECT_EQ(form.UserEdit.Text(), "DATA");
    EXPECT_EQ(form.Edit2.Text(), "UserData");
    EXPECT_EQ(form.Edit7.Text(), "http://");
    EXPECT_EQ(form.Edit4.Text(), "/");
    EXPECT_FALSE(form.LibCChk1.Checked());
    EXPECT_FALSE(form.LibCChk2.Checked());
    EXPECT_EQ(program.Net().LibCBox1.Items(), std::vector<std::string>{"ＬＡＮ接続"});
    EXPECT_EQ(program.Net().LibCBox1.ItemIndex(), -1);
    EXPECT_EQ(form.CloseResult, 2);

    form.Close();
    EXPECT_TRUE(form.Closed());
    const std::string position = PositionLines(form);
    program.End();
    EXPECT_EQ(FileText(program.Path("Velmo.ini")), "[データ送信]\r\n" + position);
}

TEST(Settings, DefaultUserGivesThePresetDefaults) {
    TestProgram program("データ送信", {"/U:abc"});
    program.Show();
    EXPECT_EQ(program.Form().ControlValues(), app::PresetDefaults("abc", ""));
    EXPECT_EQ(program.Form().UserEdit.Text(), "abc");
    EXPECT_TRUE(program.Form().LibCChk1.Checked());
    EXPECT_EQ(program.Form().Edit4.Text(), "/");
}

TEST(Settings, OtherSettingsFileIsTheOnlyOneReadAndWritten) {
    TestProgram program("データ送信", {"/I:other.ini"}, "[データ送信]\r\nUser=fromOther\r\n",
                        "other.ini");
    program.Show();
    EXPECT_EQ(program.Form().UserEdit.Text(), "fromOther");
    program.Form().Close();
    const std::string position = PositionLines(program.Form());
    program.End();
    EXPECT_EQ(FileText(program.Path("other.ini")), "[データ送信]\r\nUser=fromOther\r\n" + position);
    EXPECT_FALSE(platform::FileExists(program.Path("Velmo.ini")));
}

TEST(Settings, TheSectionIsTheCaption) {
    const std::string ini =
        "[データ送信]\r\nUser=send\r\n[データ受信]\r\nUser=receive\r\n"
        "[Velmo]\r\nUser=full\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"データ送信", "send"}, {"データ受信", "receive"}, {"Velmo", "full"}};
    for (const auto& [title, user] : cases) {
        TestProgram program(title, {}, ini);
        program.Show();
        EXPECT_EQ(program.Form().UserEdit.Text(), user) << platform::Cp932ToUtf8(title);
    }
}

TEST(Settings, EditsWithoutARunLeaveTheFileAsItWasApartFromThePosition) {
    const std::string ini =
        "; kept as it is\r\n[データ送信]\r\nUser=ソフト\r\nPass=$$3130800318\r\n"
        "ReadDIR=C:\\送信\r\nPOPCheck=1\r\nPOPServer=pop.example\r\n[other]\r\nx=1\r\n";
    TestProgram program("データ送信", {}, ini);
    program.Show();
    app::TVelmoForm& form = program.Form();
    EXPECT_EQ(form.PassEdit.Text(), "abc");
    form.UserEdit.SetText("changed");
    form.Edit1.SetText("D:\\else");
    program.Pop().Edit11.SetText("elsewhere");
    form.LibCChk2.SetChecked(true);
    form.Close();
    const std::string position = PositionLines(form);
    program.End();
    EXPECT_EQ(FileText(program.Path("Velmo.ini")),
              "; kept as it is\r\n[データ送信]\r\nUser=ソフト\r\nPass=$$3130800318\r\n"
              "ReadDIR=C:\\送信\r\nPOPCheck=1\r\nPOPServer=pop.example\r\n" +
                  position + "[other]\r\nx=1\r\n");
}

TEST(Settings, StoredPositionPlacesTheWindowInsteadOfCentring) {
    TestProgram program("データ送信", {},
                        "[データ送信]\r\nFormPosition=1\r\nFormTop=40\r\nFormLeft=70\r\n");
    program.Show();
    RECT r = program.Form().WindowBounds();
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 40);

    TestProgram centred("データ送信", {}, "[データ送信]\r\nFormPosition=0\r\nFormTop=40\r\n");
    centred.Show();
    r = centred.Form().WindowBounds();
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
}

TEST(Settings, DialEntryIsSelectedByItsText) {
    TestProgram program("データ送信", {},
                        "[データ送信]\r\nNETCheck=1\r\nNETServer=ＬＡＮ接続\r\nNETUser=du\r\n"
                        "NETPass=$$3130800318\r\n");
    program.Show();
    app::TNETForm& net = program.Net();
    EXPECT_TRUE(program.Form().LibCChk2.Checked());
    EXPECT_EQ(net.LibCBox1.ItemIndex(), 0);
    EXPECT_EQ(net.LibCBox1.Text(), "ＬＡＮ接続");
    EXPECT_EQ(net.Edit12.Text(), "du");
    EXPECT_EQ(net.Edit13.Text(), "abc");
    // The local network is no phone-book entry: nothing to dial.
    steps::SettingsRecord record = program.Form().CollectSettings();
    EXPECT_TRUE(record.UseDialUp);
    EXPECT_EQ(record.DialEntry, "");
    EXPECT_EQ(record.DialUser, "du");

    TestProgram unknown("データ送信", {}, "[データ送信]\r\nNETServer=Office\r\n");
    unknown.Show();
    EXPECT_EQ(unknown.Net().LibCBox1.ItemIndex(), -1);
    EXPECT_EQ(unknown.Form().CollectSettings().DialEntry, "");
}

TEST(Settings, PasswordFieldTakesAtMostFortyBytes) {
    TestProgram program("データ送信", {});
    program.Show();
    controls::TLibEdit& pass = program.Form().PassEdit;
    pass.SetText(std::string(38, 'x') + "アイ");  // 42 bytes: the last character does not fit
    EXPECT_EQ(pass.Text(), std::string(38, 'x') + "ア");
    pass.SetText(std::string(45, 'y'));
    EXPECT_EQ(pass.Text(), std::string(40, 'y'));
}

}  // namespace
}  // namespace velmo::testing

namespace velmo::testing {
namespace {

TEST(FolderButtons, ChosenFolderEndsInABackslashAndThePickerStartsAtTheEditsFolder) {
    TestProgram program("Velmo", {});
    program.Show();
    app::TVelmoForm& form = program.Form();
    struct Call {
        std::string caption, start;
    };
    std::vector<Call> calls;
    std::optional<std::string> answer;
    form.PickFolder = [&](HWND, const std::string& caption, const std::string& start) {
        calls.push_back({caption, start});
        return answer;
    };

    form.Edit1.SetText("");
    answer = "D:\\Work";
    Click(form.LibBtBtn4);
    EXPECT_EQ(form.Edit1.Text(), "D:\\Work\\");

    answer.reset();  // cancelled: an empty field stays empty
    form.Edit1.SetText("");
    Click(form.LibBtBtn4);
    EXPECT_EQ(form.Edit1.Text(), "");

    const std::string existing = program.Path("inbox");
    platform::MakeFolder(existing);
    form.Edit2.SetText(existing);
    Click(form.LibBtBtn3);
    EXPECT_EQ(form.Edit2.Text(), existing + "\\");

    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].caption, "送信対象フォルダ");
    EXPECT_EQ(calls[0].start, form.ProgramFolder);
    EXPECT_EQ(calls[2].caption, "保存フォルダ");
    EXPECT_EQ(calls[2].start, existing);  // a writable folder in the field: start there
}

}  // namespace
}  // namespace velmo::testing
