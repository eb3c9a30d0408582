// Whole runs through the drivers with the real steps and library: every memo line in order,
// and the log file holding exactly those lines.
#include <gtest/gtest.h>

#include "../unit/test_folder.h"
#include "app/drivers.h"
#include "controls/lib_file.h"
#include "platform/files.h"
#include "recording_view.h"
#include "steps/lib_lha.h"
#include "steps/steps.h"

namespace velmo::app {
namespace {

using platform::JoinPath;
using Lines = std::vector<std::string>;

class RunMemoTest : public ::testing::Test {
  protected:
    testing::TestFolder folder_;
    std::string program_ = folder_.Path("program");
    std::string send_ = folder_.Path("send");
    std::string dest_ = folder_.Path("dest");
    std::string save_ = folder_.Path("save");
    std::unique_ptr<steps::LibLha32> library_ = steps::LibLha32::Load();
    steps::TLibLha lha_{*library_};
    testing::RecordingView view_;
    steps::SettingsRecord settings_;
    steps::RunContext run_{view_, [this] { return settings_; }};
    DriverOptions options_;

    void SetUp() override {
        for (const std::string& f : {program_, dest_, save_}) ASSERT_TRUE(platform::MakeFolder(f));
        ASSERT_TRUE(platform::MakeFolders(JoinPath(send_, "サブ")));
        ASSERT_TRUE(platform::WriteWholeFile(JoinPath(send_, "a.txt"), "abc"));
        ASSERT_TRUE(platform::WriteWholeFile(JoinPath(send_, "サブ\\b.txt"), "b"));
        settings_.UserID = "DATA";
        settings_.Password = "pw";
        settings_.SendFolder = send_;
        settings_.SaveFolder = save_;
        settings_.FtpServer = dest_;
        settings_.ReceiveAddress = dest_;
        settings_.DownloadWord = "ダウンロード";
        settings_.UploadWord = "アップロード";
        run_.ProgramFolder = program_;
        run_.LibLha = &lha_;
        run_.CopyIntoFolder = [](const std::string& source, const std::string& folder) {
            return controls::CopyFileWithProgress(source, folder);
        };
        options_.logPath = JoinPath(program_, "Velmo.log");
    }

    std::string Archive() const { return JoinPath(program_, "DATA.$$$"); }
    std::string LogFile() const {
        std::string text;
        for (const std::string& line : view_.memo) text += line + "\r\n";
        return text;
    }
};

TEST_F(RunMemoTest, CompletedSendAndReceiveThroughFolders) {
    ASSERT_EQ(RunSend(run_, options_, DriverSteps::Standard()), RunOutcome::Completed);
    const std::string size = std::to_string(platform::FileSize(JoinPath(dest_, "DATA")).value());
    EXPECT_EQ(view_.memo,
              (Lines{"圧縮中", "フォルダ：" + send_ + " → 書庫名：" + Archive(), "圧縮  a.txt",
                     "圧縮  b.txt", "2 個のファイルを圧縮しました。", "圧縮完了", "", "暗号化中",
                     size + " Byte 暗号化しました。", "暗号化完了", "", "アップロード中", dest_,
                     "アップロード完了", "", "ワーク消去中", "処理完了", ""}));
    EXPECT_EQ(platform::ReadWholeFile(options_.logPath), LogFile());

    ASSERT_EQ(RunReceive(run_, options_, DriverSteps::Standard()), RunOutcome::Completed);
    EXPECT_EQ(
        view_.memo,
        (Lines{"ダウンロード中", dest_, "ダウンロード完了", "", "暗号解析中",
               size + " Byte 暗号解析しました。", "暗号解析完了", "", "解凍中",
               "書庫名：" + Archive() + " → フォルダ：" + save_, "展開  a.txt  3 バイト  -lh0-",
               "フォルダ  サブ", "展開  サブ\\b.txt  1 バイト  -lh0-",
               "2 個のファイルを展開しました。", "解凍完了", "", "ワーク消去中", "処理完了", ""}));
    EXPECT_EQ(platform::ReadWholeFile(options_.logPath), LogFile());
    EXPECT_EQ(view_.Calls("info:"), Lines(2, "info:処理は完了しました。"));
}

TEST_F(RunMemoTest, FailedPackSkipsTheUploadAndCleansUp) {
    settings_.SendFolder = folder_.Path("missing");
    ASSERT_EQ(RunSend(run_, options_, DriverSteps::Standard()), RunOutcome::Aborted);
    EXPECT_EQ(view_.memo,
              (Lines{"圧縮中", "フォルダ：" + settings_.SendFolder + " → 書庫名：" + Archive(),
                     "対象ファイルがありません", "圧縮中止", "", "暗号化中止", "", "ワーク消去中",
                     "処理中止", ""}));
    EXPECT_EQ(platform::ReadWholeFile(options_.logPath), LogFile());
    EXPECT_EQ(view_.Calls("warning:"), Lines{"warning:処理を中止しました。"});
    EXPECT_EQ(view_.colour, steps::PanelColour::Red);
}

TEST_F(RunMemoTest, AbortWhileEncipheringEndsTheRun) {
    std::string big(400000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>((i * 2654435761u) >> 13);
    ASSERT_TRUE(platform::WriteWholeFile(JoinPath(send_, "big.bin"), big));
    int counts = 0;
    view_.onProcessMessages = [&] {
        // The step's own pump, then the first block's: "中　止" pressed there.
        if (view_.stepLine == "暗号化中" && ++counts == 2) run_.AbortFlag = true;
    };
    ASSERT_EQ(RunSend(run_, options_, DriverSteps::Standard()), RunOutcome::Aborted);
    const Lines& m = view_.memo;
    ASSERT_GE(m.size(), 8u);
    EXPECT_EQ(Lines(m.end() - 7, m.end()),
              (Lines{"暗号化中", "2000 Byte 暗号化しました。", "暗号化中止", "", "ワーク消去中",
                     "処理中止", ""}));
    EXPECT_FALSE(platform::FileExists(JoinPath(dest_, "DATA")));  // no upload
    EXPECT_FALSE(platform::FileExists(Archive()));
}

TEST_F(RunMemoTest, CleanUpAloneWithNoWorkFiles) {
    steps::CleanUpWork(run_);
    EXPECT_EQ(view_.memo, (Lines{"ワーク消去中", "処理完了", ""}));
    EXPECT_FALSE(platform::FileExists(options_.logPath));  // single steps never write the log
}

}  // namespace
}  // namespace velmo::app
