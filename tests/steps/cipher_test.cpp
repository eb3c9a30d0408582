// The transfer work file byte for byte: header, reversed blocks, counts, abort and errors.
#include "steps/cipher.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../unit/test_folder.h"
#include "platform/files.h"
#include "steps/password.h"

namespace velmo::steps {
namespace {

std::string Pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

class CipherTest : public ::testing::Test {
  protected:
    testing::TestFolder folder_;
    std::string archive_ = folder_.Path("DATA.$$$");
    std::string transfer_ = folder_.Path("DATA");
    std::string restored_ = folder_.Path("restored");
    std::vector<std::int64_t> counts_;
    BlockProgress record_ = [this](std::int64_t c) {
        counts_.push_back(c);
        return true;
    };

    std::string Read(const std::string& path) {
        return platform::ReadWholeFile(path).value_or("<none>");
    }
};

TEST_F(CipherTest, LayoutForArchivesOfEverySize) {
    for (std::size_t n : {0u, 1u, 999u, 1000u, 1001u, 2500u, 70001u}) {
        const std::string archive = Pattern(n);
        ASSERT_TRUE(platform::WriteWholeFile(archive_, archive));
        std::int64_t count = -1;
        counts_.clear();
        ASSERT_TRUE(Encipher(archive_, transfer_, "abc", count, record_));
        const std::string transfer = Read(transfer_);
        ASSERT_EQ(transfer.size(), 1000 + n);
        EXPECT_EQ(count, static_cast<std::int64_t>(1000 + n));
        // One progress call per block read, the last for the read that found the end.
        EXPECT_EQ(counts_.size(), (n + 999) / 1000 + 1) << n;
        EXPECT_EQ(counts_.back(), count);

        std::string header = "$$3130800318";
        header.resize(1000, '\0');
        EXPECT_EQ(transfer.substr(0, 1000), header);
        for (std::size_t k = 0; k * 1000 < n; ++k) {
            std::string block = archive.substr(k * 1000, 1000);
            std::reverse(block.begin(), block.end());
            EXPECT_EQ(transfer.substr(1000 * (k + 1), block.size()), block) << n << " block " << k;
        }

        std::string check;
        ASSERT_TRUE(Decipher(transfer_, restored_, check, count, record_));
        EXPECT_EQ(Read(restored_), archive) << n;
        EXPECT_EQ(check, "$$3130800318");
        EXPECT_EQ(count, static_cast<std::int64_t>(1000 + n));
    }
}

TEST_F(CipherTest, PasswordTest) {
    ASSERT_TRUE(platform::WriteWholeFile(archive_, Pattern(2500)));
    std::int64_t count = 0;
    ASSERT_TRUE(Encipher(archive_, transfer_, "秘密", count, record_));
    std::string check;
    ASSERT_TRUE(Decipher(transfer_, restored_, check, count, record_));
    EXPECT_EQ(Read(restored_), Pattern(2500));  // blocks never depend on the password
    EXPECT_TRUE(PasswordMatches(check, "秘密"));
    EXPECT_FALSE(PasswordMatches(check, "秘蜜"));
    EXPECT_FALSE(PasswordMatches(check, ""));
}

TEST_F(CipherTest, ShortTransferFileGivesItsNonZeroBytesAndNoArchive) {
    ASSERT_TRUE(platform::WriteWholeFile(transfer_, std::string("$$\0\0AB\0C", 8)));
    std::string check;
    std::int64_t count = 0;
    ASSERT_TRUE(Decipher(transfer_, restored_, check, count, record_));
    EXPECT_EQ(check, "$$ABC");
    EXPECT_EQ(count, 8);
    EXPECT_EQ(Read(restored_), "");
}

TEST_F(CipherTest, AbortStopsAfterTheCurrentBlock) {
    ASSERT_TRUE(platform::WriteWholeFile(archive_, Pattern(5000)));
    std::int64_t count = 0;
    int calls = 0;
    ASSERT_TRUE(
        Encipher(archive_, transfer_, "p", count, [&](std::int64_t) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(count, 3000);
    EXPECT_EQ(Read(transfer_).size(), 3000u);
}

TEST_F(CipherTest, IoErrorsAndOversizedCheckTexts) {
    std::int64_t count = 0;
    std::string check;
    EXPECT_FALSE(Encipher(folder_.Path("missing"), transfer_, "p", count, record_));
    EXPECT_FALSE(Decipher(folder_.Path("missing"), restored_, check, count, record_));
    ASSERT_TRUE(platform::WriteWholeFile(archive_, Pattern(10)));
    EXPECT_FALSE(Encipher(archive_, folder_.Path("no\\such\\DATA"), "p", count, record_));
    // 399 bytes would need a 1002-byte check text: no file nobody could verify.
    EXPECT_TRUE(Encipher(archive_, transfer_, std::string(398, 'x'), count, record_));
    EXPECT_EQ(ScramblePassword(std::string(398, 'x')).size(), 997u);
    platform::RemoveFile(transfer_);
    EXPECT_FALSE(Encipher(archive_, transfer_, std::string(399, 'x'), count, record_));
    EXPECT_FALSE(platform::FileExists(transfer_));
}

}  // namespace
}  // namespace velmo::steps
