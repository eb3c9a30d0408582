// The file copy with progress: content, display updates, destination names, time, failures.
#include "controls/lib_file.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/files.h"
#include "platform/text.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace velmo::controls {
namespace {

using platform::JoinPath;

// Every call of the copy on its display, in order.
struct RecordingProgress : CopyProgress {
    std::vector<std::string> calls;
    std::vector<std::string> labels;
    void Show() override { calls.push_back("Show"); }
    void SetCaption(const std::string& text) override { calls.push_back("Caption " + text); }
    void SetMaximum(std::int64_t maximum) override {
        calls.push_back("Maximum " + std::to_string(maximum));
    }
    void Update(std::int64_t copied, const std::string& label) override {
        calls.push_back("Update " + std::to_string(copied));
        labels.push_back(label);
    }
    void Close() override { calls.push_back("Close"); }
};

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 31 + (i >> 9));
    return bytes;
}

class LibFile : public ::testing::Test {
  protected:
    void SetUp() override {
        work = platform::FullPath(std::string("lib_file_test_") +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        Clean();
        ASSERT_TRUE(platform::MakeFolders(JoinPath(work, "from")));
        ASSERT_TRUE(platform::MakeFolders(JoinPath(work, "to")));
    }
    void TearDown() override { Clean(); }
    void Clean() {
        for (const char* sub : {"from", "to"}) {
            std::string folder = JoinPath(work, sub);
            if (auto entries = platform::ListFolder(folder))
                for (const auto& e : *entries) platform::RemoveFile(JoinPath(folder, e.name));
            platform::RemoveFolder(folder);
        }
        platform::RemoveFolder(work);
    }
    std::string MakeSource(const std::string& name, const std::string& content) {
        std::string path = JoinPath(JoinPath(work, "from"), name);
        EXPECT_TRUE(platform::WriteWholeFile(path, content));
        EXPECT_TRUE(platform::SetLastWriteTime(path, kOldTime));
        return path;
    }

    // 2001-02-03 04:05:06 UTC in 100 ns ticks since 1601.
    static constexpr platform::FileTime kOldTime = 126257871060000000LL;
    std::string work;
};

TEST_F(LibFile, CopiesContentAndTimeWithOneUpdatePerPercent) {
    struct Case {
        std::size_t size;
        std::size_t updates;
        const char* lastLabel;
    } cases[] = {
        {0, 0, nullptr},  // one read of nothing, no update
        {150, 1, "0KB / 0KB"},
        {8192, 1, "8KB / 8KB"},  // a full block, then a read of nothing
        {8193, 1, "8KB / 8KB"},  // 8192 / 81 and 8193 / 81 are both 101: one update
        {1000000, 100, "976KB / 976KB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string content = Pattern(c.size);
        const std::string source = MakeSource("data.bin", content);
        RecordingProgress progress;
        EXPECT_EQ(CopyFileWithProgress(source, JoinPath(work, "to"), &progress), 0);
        const std::string copy = JoinPath(JoinPath(work, "to"), "data.bin");
        EXPECT_TRUE(platform::ReadWholeFile(copy) == content);
        EXPECT_EQ(platform::LastWriteTime(copy), kOldTime);
        EXPECT_EQ(progress.labels.size(), c.updates);
        if (c.lastLabel) {
            EXPECT_EQ(progress.labels.back(), c.lastLabel);
        }
        ASSERT_GE(progress.calls.size(), 4u);
        EXPECT_EQ(progress.calls[0], "Show");
        EXPECT_EQ(progress.calls[1], "Caption " + source);
        EXPECT_EQ(progress.calls[2], "Maximum " + std::to_string(c.size < 100 ? 100 : c.size));
        EXPECT_EQ(progress.calls.back(), "Close");
        platform::RemoveFile(copy);
    }
}

TEST_F(LibFile, DestinationNames) {
    // ソ ends in 0x5C: its trail byte is no separator.
    const std::string source = MakeSource("ソフト.bin", "abc");
    const std::string to = JoinPath(work, "to");
    CopyFileWithProgress(source, to);
    EXPECT_TRUE(platform::FileExists(JoinPath(to, "ソフト.bin")));
    platform::RemoveFile(JoinPath(to, "ソフト.bin"));
    CopyFileWithProgress(source, to + "\\");
    EXPECT_TRUE(platform::FileExists(JoinPath(to, "ソフト.bin")));
    // Not a folder: the start of the new name.
    CopyFileWithProgress(source, JoinPath(to, "prefix-"));
    EXPECT_TRUE(platform::FileExists(JoinPath(to, "prefix-ソフト.bin")));
}

TEST_F(LibFile, FilesThatCannotBeOpenedOrCreated) {
    const std::string missing = JoinPath(JoinPath(work, "from"), "missing.bin");
    RecordingProgress progress;
    try {
        CopyFileWithProgress(missing, JoinPath(work, "to"), &progress);
        ADD_FAILURE() << "no exception";
    } catch (const EFCant& e) {
        EXPECT_EQ(std::string(e.what()), "ｺﾋﾟｰ元 ﾌｧｲﾙ " + missing + " は開けません");
    }
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"Show", "Close"}));
    EXPECT_FALSE(platform::FileExists(JoinPath(JoinPath(work, "to"), "missing.bin")));

    const std::string source = MakeSource("data.bin", "abc");
    const std::string nowhere = JoinPath(JoinPath(work, "no-such-folder"), "x-");
    try {
        CopyFileWithProgress(source, nowhere);
        ADD_FAILURE() << "no exception";
    } catch (const EFCant& e) {
        EXPECT_EQ(std::string(e.what()),
                  "ｺﾋﾟｰ先 ﾌｧｲﾙ " + platform::FullPath(nowhere) + "data.bin は作成できません");
    }
}

#ifndef _WIN32
// A full disk, played by a limit on the size of the files this process may write.
TEST_F(LibFile, ShortWriteStopsWithMinusOneAndKeepsThePartialCopy) {
    const std::string source = MakeSource("data.bin", Pattern(100000));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = 20000;
    setrlimit(RLIMIT_FSIZE, &limit);
    RecordingProgress progress;
    std::int32_t result = CopyFileWithProgress(source, JoinPath(work, "to"), &progress);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(result, -1);
    const std::string copy = JoinPath(JoinPath(work, "to"), "data.bin");
    std::optional<std::string> partial = platform::ReadWholeFile(copy);
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->size(), 20000u);
    EXPECT_EQ(platform::LastWriteTime(copy), kOldTime);
    EXPECT_EQ(progress.calls.back(), "Close");
}
#endif

}  // namespace
}  // namespace velmo::controls
