// The drivers: the checks in their order, the run frame around the steps, log file, outcome.
#include <gtest/gtest.h>

#include "../unit/test_folder.h"
#include "app/drivers.h"
#include "platform/files.h"
#include "recording_view.h"

namespace velmo::app {
namespace {

using steps::RunContext;
using steps::SettingsRecord;

SettingsRecord Complete() {
    SettingsRecord s;
    s.UserID = "DATA";
    s.Password = "pw";
    s.SendFolder = "send";
    s.ReceiveAddress = "http://host";
    s.SaveFolder = "save";
    s.FtpServer = "ftp.velmo.example";
    s.FtpFolder = "/velmo-no-such-folder";  // "/" alone would probe the root, writable to root
    s.FtpUser = "u";
    s.FtpPassword = "p";
    s.PopServer = "pop.velmo.example";
    s.PopUser = "pu";
    s.PopPassword = "pp";
    s.DialEntry = "会社";
    s.DialUser = "du";
    s.DialPassword = "dp";
    s.DownloadWord = "ダウンロード";
    s.UploadWord = "アップロード";
    return s;
}

class DriverTest : public ::testing::Test {
  protected:
    testing::TestFolder folder_;
    testing::RecordingView view_;
    SettingsRecord settings_ = Complete();
    RunContext run_{view_, [this] { return settings_; }};
    DriverOptions options_;
    DriverSteps steps_;
    std::vector<std::string> order_;
    int saves_ = 0;

    void SetUp() override {
        run_.ProgramFolder = folder_.Path();
        options_.logPath = folder_.Path("Velmo.log");
        options_.saveSettings = [this] { ++saves_; };
        auto step = [this](const char* name, bool fails) {
            return [this, name, fails](RunContext& run) {
                order_.push_back(name);
                run.view.AddLogLine(name);
                if (fails) run.AbortFlag = true;
            };
        };
        steps_.packAndEncrypt = step("pack", false);
        steps_.upload = step("upload", false);
        steps_.download = step("download", false);
        steps_.decryptAndUnpack = step("unpack", false);
        steps_.cleanUp = step("cleanup", false);
    }

    struct CheckCase {
        std::function<void(SettingsRecord&)> change;
        const char* warning;
    };
    using Driver = RunOutcome (*)(RunContext&, const DriverOptions&, const DriverSteps&);

    // Each case spoils a complete record; the driver must show that warning and nothing else.
    void ExpectRefusals(Driver driver, const std::vector<CheckCase>& cases) {
        for (const CheckCase& c : cases) {
            settings_ = Complete();
            c.change(settings_);
            view_.calls.clear();
            EXPECT_EQ(driver(run_, options_, steps_), RunOutcome::Refused) << c.warning;
            EXPECT_EQ(view_.calls, std::vector<std::string>{std::string("warning:") + c.warning});
        }
        EXPECT_EQ(saves_, 0);
        EXPECT_TRUE(order_.empty());
        EXPECT_FALSE(platform::FileExists(options_.logPath));
    }
};

TEST_F(DriverTest, SendChecksInOrderOnlyTheFirstIsReported) {
    ExpectRefusals(
        RunSend,
        {
            {[](SettingsRecord& s) { s.UserID = s.FtpServer = ""; }, "ユーザＩＤが未設定です。"},
            {[](SettingsRecord& s) { s.Password = ""; }, "パスワードが未設定です。"},
            {[](SettingsRecord& s) { s.UseDialUp = true, s.DialUser = ""; },
             "ダイアルアップ接続ユーザＩＤが未設定です。"},
            {[](SettingsRecord& s) { s.UseDialUp = true, s.DialPassword = ""; },
             "ダイアルアップ接続パスワードが未設定です。"},
            {[](SettingsRecord& s) { s.PopBeforeFtp = true, s.PopServer = ""; },
             "ＰＯＰサーバが未設定です。"},
            {[](SettingsRecord& s) { s.PopBeforeFtp = true, s.PopUser = ""; },
             "ＰＯＰユーザＩＤが未設定です。"},
            {[](SettingsRecord& s) { s.PopBeforeFtp = true, s.PopPassword = ""; },
             "ＰＯＰパスワードが未設定です。"},
            {[](SettingsRecord& s) { s.FtpServer = ""; }, "送信先ＦＴＰサーバが未設定です。"},
            {[](SettingsRecord& s) { s.FtpFolder = ""; }, "送信先ＦＴＰフォルダが未設定です。"},
            {[](SettingsRecord& s) { s.FtpUser = ""; }, "送信先ＦＴＰユーザＩＤが未設定です。"},
            {[](SettingsRecord& s) { s.FtpPassword = ""; }, "送信先ＦＴＰパスワードが未設定です。"},
        });
}

TEST_F(DriverTest, SendToAWritableFolderNeedsNoServerSettings) {
    ASSERT_TRUE(platform::MakeFolder(folder_.Path("dest")));
    settings_ = Complete();
    settings_.UseDialUp = settings_.PopBeforeFtp = true;
    settings_.DialUser = settings_.PopServer = settings_.FtpUser = settings_.FtpPassword = "";
    settings_.FtpServer = folder_.Path("de");
    settings_.FtpFolder = "st";
    run_.CollectSettings();
    EXPECT_EQ(SendCheck(run_), std::nullopt);
    // "ＬＡＮ接続" leaves the dial entry empty: no dial-up account needed.
    settings_ = Complete();
    settings_.UseDialUp = true;
    settings_.DialEntry = settings_.DialUser = settings_.DialPassword = "";
    run_.CollectSettings();
    EXPECT_EQ(SendCheck(run_), std::nullopt);
}

TEST_F(DriverTest, ReceiveChecksInOrder) {
    ExpectRefusals(
        RunReceive,
        {
            {[](SettingsRecord& s) { s.UserID = ""; }, "ユーザＩＤが未設定です。"},
            {[](SettingsRecord& s) { s.Password = s.ReceiveAddress = ""; },
             "パスワードが未設定です。"},
            {[](SettingsRecord& s) { s.UseDialUp = true, s.DialUser = ""; },
             "ダイアルアップ接続ユーザＩＤが未設定です。"},
            {[](SettingsRecord& s) { s.UseDialUp = true, s.DialPassword = ""; },
             "ダイアルアップ接続パスワードが未設定です。"},
            {[](SettingsRecord& s) { s.ReceiveAddress = ""; }, "受信アドレスが未設定です。"},
        });
}

TEST_F(DriverTest, CompletedSendFrame) {
    run_.AbortFlag = true;  // left set by an earlier run
    EXPECT_EQ(RunSend(run_, options_, steps_), RunOutcome::Completed);
    EXPECT_EQ(order_, (std::vector<std::string>{"pack", "upload", "cleanup"}));
    EXPECT_EQ(saves_, 1);
    EXPECT_EQ(view_.calls, (std::vector<std::string>{
                               "disable", "button:中　止", "step:", "detail:", "silver", "panel",
                               "clear", "log:pack", "log:upload", "log:cleanup", "button:hidden",
                               "info:処理は完了しました。", "button:閉じる:focus"}));
    EXPECT_EQ(platform::ReadWholeFile(options_.logPath), "pack\r\nupload\r\ncleanup\r\n");
    EXPECT_TRUE(run_.AbortFlag);  // set after every run
}

TEST_F(DriverTest, FailedStepSkipsTheRestButCleansUp) {
    steps_.download = [this](RunContext& run) {
        order_.push_back("download");
        run.AbortFlag = true;
    };
    options_.noDialog = true;
    options_.runMode = 0;
    EXPECT_EQ(RunReceive(run_, options_, steps_), RunOutcome::Aborted);
    EXPECT_EQ(order_, (std::vector<std::string>{"download", "cleanup"}));
    EXPECT_EQ(view_.Calls("beep"), std::vector<std::string>{"beep"});
    EXPECT_TRUE(view_.Calls("warning:").empty());
    EXPECT_EQ(view_.Calls("enable"), std::vector<std::string>{"enable"});  // full mode only
    EXPECT_EQ(CloseResultOf(RunOutcome::Aborted), 2);
}

TEST_F(DriverTest, UnwritableLogFileEndsTheRunBeforeItsMessage) {
    options_.logPath = folder_.Path("no such folder\\Velmo.log");
    EXPECT_THROW(RunSend(run_, options_, steps_), ELogFileError);
    EXPECT_TRUE(view_.Calls("info:").empty());
    EXPECT_TRUE(view_.Calls("button:閉じる").empty());
}

}  // namespace
}  // namespace velmo::app
