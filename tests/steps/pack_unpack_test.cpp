// The pack and unpack steps with our archiver library: memo lines, work files, save folder.
#include <gtest/gtest.h>

#include "../unit/test_folder.h"
#include "platform/files.h"
#include "platform/text.h"
#include "recording_view.h"
#include "steps/lib_lha.h"
#include "steps/steps.h"

namespace velmo::steps {
namespace {

using platform::JoinPath;

std::vector<std::string> Tail(const std::vector<std::string>& lines, std::size_t n) {
    return {lines.end() - std::min(n, lines.size()), lines.end()};
}

class PackUnpackTest : public ::testing::Test {
  protected:
    testing::TestFolder folder_;
    std::string program_ = folder_.Path("program");
    std::string send_ = folder_.Path("送信ソ");  // 0x5C trail byte in the folder name
    std::string save_ = folder_.Path("save");
    std::unique_ptr<LibLha32> library_ = LibLha32::Load();
    TLibLha lha_{*library_};
    testing::RecordingView view_;
    SettingsRecord settings_;
    RunContext run_{view_, [this] { return settings_; }};

    void SetUp() override {
        ASSERT_TRUE(platform::MakeFolder(program_));
        ASSERT_TRUE(platform::MakeFolders(JoinPath(send_, "表\\空")));
        ASSERT_TRUE(platform::WriteWholeFile(JoinPath(send_, "a.txt"), "テキスト\r\n"));
        ASSERT_TRUE(platform::WriteWholeFile(JoinPath(send_, "表\\ソフト.bin"), Bytes(5000)));
        ASSERT_TRUE(platform::WriteWholeFile(JoinPath(send_, "empty"), ""));
        settings_.UserID = "DATA";
        settings_.Password = "pw";
        settings_.SendFolder = send_;
        settings_.SaveFolder = save_;
        run_.ProgramFolder = program_;
        run_.LibLha = &lha_;
    }

    // Bytes that do not compress, so archives are as large as their contents.
    static std::string Bytes(std::size_t n) {
        std::string s(n, '\0');
        std::uint32_t x = 12345;
        for (char& c : s) {
            x = x * 1103515245 + 12345;
            c = static_cast<char>(x >> 24);
        }
        return s;
    }

    void Pack() {
        PackAndEncrypt(run_);
        ASSERT_FALSE(run_.AbortFlag) << Memo();
        view_.memo.clear();
    }

    std::string Memo() const {
        std::string all;
        for (const auto& l : view_.memo) all += platform::Cp932ToUtf8(l) + "\n";
        return all;
    }

    std::string Archive() const { return JoinPath(program_, "DATA.$$$"); }
    std::string Transfer() const { return JoinPath(program_, "DATA"); }
};

TEST_F(PackUnpackTest, PackThenUnpackRoundTrip) {
    PackAndEncrypt(run_);
    ASSERT_FALSE(run_.AbortFlag) << Memo();
    const std::vector<std::string>& m = view_.memo;
    ASSERT_GE(m.size(), 8u);
    EXPECT_EQ(m[0], "圧縮中");
    EXPECT_EQ(m[1], "フォルダ：" + send_ + " → 書庫名：" + Archive());
    const std::string size = std::to_string(platform::ReadWholeFile(Transfer())->size());
    EXPECT_EQ(Tail(m, 6),
              (std::vector<std::string>{"圧縮完了", "", "暗号化中", size + " Byte 暗号化しました。",
                                        "暗号化完了", ""}));
    EXPECT_EQ(view_.colour, PanelColour::Silver);
    EXPECT_EQ(lha_.CommandLine(),
              "A -+ -x1 -r2 -gm1 \"" + Archive() + "\" \"" + send_ + "\\\" \"\"");

    // The save folder's own files go; its sub-folders stay.
    ASSERT_TRUE(platform::MakeFolders(JoinPath(save_, "keep")));
    ASSERT_TRUE(platform::WriteWholeFile(JoinPath(save_, "old.txt"), "old"));
    ASSERT_TRUE(platform::WriteWholeFile(JoinPath(save_, "keep\\k.txt"), "k"));
    view_.memo.clear();
    DecryptAndUnpack(run_);
    ASSERT_FALSE(run_.AbortFlag) << Memo();
    EXPECT_EQ(m[0], "暗号解析中");
    EXPECT_EQ(m[1], size + " Byte 暗号解析しました。");
    EXPECT_EQ(m[2], "暗号解析完了");
    EXPECT_EQ(m[3], "");
    EXPECT_EQ(m[4], "解凍中");
    EXPECT_EQ(m[5], "書庫名：" + Archive() + " → フォルダ：" + save_);
    EXPECT_EQ(Tail(m, 2), (std::vector<std::string>{"解凍完了", ""}));
    EXPECT_EQ(lha_.CommandLine(),
              "E -+ -x1 -jyco -l2 -r2 -jf0 -gm1 \"" + Archive() + "\" \"" + save_ + "\\\" \"\"");
    EXPECT_EQ(platform::ReadWholeFile(JoinPath(save_, "a.txt")), "テキスト\r\n");
    EXPECT_EQ(platform::ReadWholeFile(JoinPath(save_, "表\\ソフト.bin")), Bytes(5000));
    EXPECT_EQ(platform::ReadWholeFile(JoinPath(save_, "empty")), "");
    EXPECT_TRUE(platform::FolderExists(JoinPath(save_, "表\\空")));
    EXPECT_FALSE(platform::FileExists(JoinPath(save_, "old.txt")));
    EXPECT_EQ(platform::ReadWholeFile(JoinPath(save_, "keep\\k.txt")), "k");
}

TEST_F(PackUnpackTest, FailedPackSkipsEncipher) {
    settings_.SendFolder = folder_.Path("missing");
    PackAndEncrypt(run_);
    EXPECT_TRUE(run_.AbortFlag);
    const std::vector<std::string>& m = view_.memo;
    ASSERT_GE(m.size(), 6u);
    EXPECT_EQ(m[0], "圧縮中");
    EXPECT_EQ(Tail(m, 4), (std::vector<std::string>{"圧縮中止", "", "暗号化中止", ""}));
    EXPECT_EQ(view_.colour, PanelColour::Red);
    EXPECT_FALSE(platform::FileExists(Transfer()));
}

TEST_F(PackUnpackTest, LeftoverArchiveIsReplaced) {
    ASSERT_TRUE(platform::WriteWholeFile(Archive(), "stale bytes that are no archive"));
    Pack();
    DecryptAndUnpack(run_);
    EXPECT_FALSE(run_.AbortFlag) << Memo();
}

TEST_F(PackUnpackTest, AbortWhileEnciphering) {
    ASSERT_TRUE(platform::WriteWholeFile(JoinPath(send_, "big.bin"), Bytes(300000)));
    int blocks = 0;
    view_.onProcessMessages = [&] {
        if (view_.stepLine == "暗号化中" && ++blocks == 3) run_.AbortFlag = true;
    };
    PackAndEncrypt(run_);
    EXPECT_TRUE(run_.AbortFlag);
    EXPECT_EQ(Tail(view_.memo, 2), (std::vector<std::string>{"暗号化中止", ""}));
    EXPECT_EQ(view_.colour, PanelColour::Red);
}

TEST_F(PackUnpackTest, WrongPasswordLeavesTheSaveFolderAlone) {
    Pack();
    ASSERT_TRUE(platform::MakeFolder(save_));
    ASSERT_TRUE(platform::WriteWholeFile(JoinPath(save_, "mine.txt"), "mine"));
    settings_.Password = "other";
    DecryptAndUnpack(run_);
    EXPECT_TRUE(run_.AbortFlag);
    EXPECT_EQ(Tail(view_.memo, 4),
              (std::vector<std::string>{"暗号解析完了", "", "パスワードが違います。", ""}));
    EXPECT_EQ(view_.stepLine, "暗号解析完了");
    EXPECT_EQ(platform::ReadWholeFile(JoinPath(save_, "mine.txt")), "mine");
    EXPECT_FALSE(platform::FileExists(JoinPath(save_, "a.txt")));
}

TEST_F(PackUnpackTest, EmptyReceivingPasswordSkipsTheTest) {
    Pack();
    settings_.Password = "";
    DecryptAndUnpack(run_);
    EXPECT_FALSE(run_.AbortFlag) << Memo();
    EXPECT_TRUE(platform::FileExists(JoinPath(save_, "a.txt")));
}

// A damaged transfer must not cost the operator the files already in the save folder.
TEST_F(PackUnpackTest, DamagedTransferLeavesTheSaveFolderAlone) {
    Pack();
    std::string transfer = *platform::ReadWholeFile(Transfer());
    ASSERT_TRUE(platform::MakeFolder(save_));
    ASSERT_TRUE(platform::WriteWholeFile(JoinPath(save_, "mine.txt"), "mine"));
    for (std::size_t cut : {transfer.size() - 700, std::size_t{1100}, std::size_t{1000}}) {
        ASSERT_TRUE(platform::WriteWholeFile(Transfer(), transfer.substr(0, cut)));
        run_.AbortFlag = false;
        view_.memo.clear();
        DecryptAndUnpack(run_);
        EXPECT_TRUE(run_.AbortFlag);
        EXPECT_EQ(Tail(view_.memo, 2), (std::vector<std::string>{"解凍中止", ""})) << Memo();
        EXPECT_EQ(platform::ReadWholeFile(JoinPath(save_, "mine.txt")), "mine");
    }
}

TEST_F(PackUnpackTest, MissingTransferFileAndUncreatableSaveFolder) {
    DecryptAndUnpack(run_);
    EXPECT_TRUE(run_.AbortFlag);
    EXPECT_EQ(view_.memo, (std::vector<std::string>{"暗号解析中", "暗号解析中止", ""}));

    run_.AbortFlag = false;
    Pack();
    settings_.SaveFolder = folder_.Path("no\\such\\parent");
    DecryptAndUnpack(run_);
    EXPECT_TRUE(run_.AbortFlag);
    EXPECT_EQ(Tail(view_.memo, 2), (std::vector<std::string>{"解凍中止", ""}));
    EXPECT_EQ(view_.colour, PanelColour::Red);
}

TEST_F(PackUnpackTest, StepStartedWithAbortSetStopsAfterOneBlock) {
    Pack();
    run_.AbortFlag = true;
    DecryptAndUnpack(run_);
    // The header, then one block of the archive.
    EXPECT_EQ(view_.memo, (std::vector<std::string>{"暗号解析中", "2000 Byte 暗号解析しました。",
                                                    "暗号解析中止", ""}));
}

TEST_F(PackUnpackTest, CleanUpRemovesBothWorkFiles) {
    Pack();
    CleanUpWork(run_);
    EXPECT_FALSE(platform::FileExists(Archive()));
    EXPECT_FALSE(platform::FileExists(Transfer()));
    EXPECT_EQ(view_.memo, (std::vector<std::string>{"ワーク消去中", "処理完了", ""}));
    view_.memo.clear();
    run_.AbortFlag = true;
    CleanUpWork(run_);  // nothing left to delete
    EXPECT_EQ(view_.memo, (std::vector<std::string>{"ワーク消去中", "処理中止", ""}));
}

}  // namespace
}  // namespace velmo::steps
