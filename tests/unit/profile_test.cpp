// The INI engine on its own: lookups, trimming, quotes, truncation and line-preserving writes.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "test_folder.h"

namespace velmo::platform {
namespace {

class ProfileTest : public ::testing::Test {
  protected:
    testing::TestFolder folder_;
    std::string path_ = folder_.Path("test.ini");

    void Write(std::string_view bytes) { ASSERT_TRUE(WriteWholeFile(path_, bytes)); }
    std::string Contents() { return ReadWholeFile(path_).value_or("<missing>"); }
};

TEST_F(ProfileTest, ReadsLikeTheProfileFunctions) {
    Write(
        "top=before any section\r\n"
        "[データ送信]\r\n"
        "User=abc\r\n"
        "  pass  =  $$31308  \r\n"
        "user=second wins never\r\n"
        "NoEquals\r\n"
        "Quoted=\"  kept blanks  \"\r\n"
        "Single='x'\r\n"
        "Half=\"open\r\n"
        "Empty=\r\n"
        "ソ=表\\ソ\r\n"
        "ＡＢＣ=fullwidth\r\n"
        "[データ送信]\r\n"
        "Only2=in the second copy\r\n"
        "[ other ]\n"
        "x=1\n");
    ProfileFile ini(path_);
    struct Case {
        std::string section, key;
        std::optional<std::string> value;
    } cases[] = {
        {"データ送信", "USER", "abc"},
        {"データ送信", "Pass", "$$31308"},
        {" データ送信 ", " user ", "abc"},
        {"データ送信", "NoEquals", std::nullopt},
        {"データ送信", "Quoted", "  kept blanks  "},
        {"データ送信", "Single", "x"},
        {"データ送信", "Half", "\"open"},
        {"データ送信", "Empty", ""},
        {"データ送信", "ソ", "表\\ソ"},
        {"データ送信", "ＡＢＣ", "fullwidth"},
        {"データ送信", "ａｂｃ", std::nullopt},  // full-width letters keep their case
        {"データ送信", "Only2", std::nullopt},   // only the first matching section is searched
        {"OTHER", "X", "1"},
        {"データ受信", "User", std::nullopt},
        {"データ送信", "top", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ini.Find(c.section, c.key), c.value) << c.key;
    EXPECT_EQ(ini.ReadString("データ送信", "Missing", "DATA"), "DATA");
    EXPECT_EQ(ProfileFile(folder_.Path("none.ini")).ReadString("a", "b", "def"), "def");
}

TEST_F(ProfileTest, LongValuesStopAt2047BytesWithoutSplittingACharacter) {
    std::string ascii(3000, 'a');
    std::string kanji;
    for (int i = 0; i < 1100; ++i) kanji += "表";  // 2200 bytes; 2047 would cut a character
    Write("[s]\r\na=" + ascii + "\r\nk=" + kanji + "\r\nodd=x" + kanji + "\r\n");
    ProfileFile ini(path_);
    EXPECT_EQ(ini.ReadString("s", "a", ""), ascii.substr(0, 2047));
    EXPECT_EQ(ini.ReadString("s", "k", ""), kanji.substr(0, 2046));
    EXPECT_EQ(ini.ReadString("s", "odd", ""), "x" + kanji.substr(0, 2046));
}

TEST_F(ProfileTest, NumbersAndBooleans) {
    Write("[s]\r\nzero=0\r\none=1\r\nneg=-12\r\nhex=$1F\r\nbad=1x\r\nempty=\r\ntwo= 2 \r\n");
    ProfileFile ini(path_);
    struct Case {
        const char* key;
        long number;
        bool flag;
    } cases[] = {{"zero", 0, false}, {"one", 1, true},   {"neg", -12, true}, {"hex", 31, true},
                 {"bad", 7, true},   {"empty", 7, true}, {"two", 2, true},   {"missing", 7, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(ini.ReadInteger("s", c.key, 7), c.number) << c.key;
        EXPECT_EQ(ini.ReadBool("s", c.key, true), c.flag) << c.key;
    }
}

TEST_F(ProfileTest, WritesKeepEveryOtherLineByteForByte) {
    Write("; comment\n[A]\r\nkey = old\r\n\r\n[B]\nx=1\n  odd line  \n");
    ProfileFile ini(path_);
    ASSERT_TRUE(ini.WriteString("a", "KEY", "new"));
    EXPECT_EQ(Contents(), "; comment\n[A]\r\nkey=new\r\n\r\n[B]\nx=1\n  odd line  \n");
    ASSERT_TRUE(ini.WriteString("A", "added", "v"));
    EXPECT_EQ(Contents(), "; comment\n[A]\r\nkey=new\r\nadded=v\r\n\r\n[B]\nx=1\n  odd line  \n");
    ASSERT_TRUE(ini.WriteString("b", "y", "2"));
    EXPECT_EQ(Contents(),
              "; comment\n[A]\r\nkey=new\r\nadded=v\r\n\r\n[B]\nx=1\n  odd line  \ny=2\r\n");
    ASSERT_TRUE(ini.WriteString("データ送信", "WriteDIR", "C:\\ソ"));
    EXPECT_EQ(ini.ReadString("データ送信", "WriteDir", ""), "C:\\ソ");
    EXPECT_TRUE(Contents().ends_with("y=2\r\n\r\n[データ送信]\r\nWriteDIR=C:\\ソ\r\n"));
}

TEST_F(ProfileTest, WriteCreatesTheFileAndRefusesForgedLines) {
    ProfileFile ini(path_);
    ASSERT_TRUE(ini.WriteString("データ送信", "User", "DATA"));
    ASSERT_TRUE(ini.WriteInteger("データ送信", "FormTop", -5));
    ASSERT_TRUE(ini.WriteBool("データ送信", "POPCheck", true));
    EXPECT_EQ(Contents(), "[データ送信]\r\nUser=DATA\r\nFormTop=-5\r\nPOPCheck=1\r\n");
    EXPECT_FALSE(ini.WriteString("データ送信", "User", "x\r\n[データ送信]\r\nPass=1"));
    EXPECT_FALSE(ini.WriteString("", "User", "x"));
    EXPECT_EQ(Contents(), "[データ送信]\r\nUser=DATA\r\nFormTop=-5\r\nPOPCheck=1\r\n");
    EXPECT_FALSE(ProfileFile(folder_.Path("no\\such\\folder.ini")).WriteString("s", "k", "v"));
}

TEST_F(ProfileTest, FileWithoutFinalLineEnd) {
    Write("[s]\r\na=1");
    ProfileFile ini(path_);
    ASSERT_TRUE(ini.WriteString("s", "b", "2"));
    EXPECT_EQ(Contents(), "[s]\r\na=1\r\nb=2\r\n");
}

}  // namespace
}  // namespace velmo::platform
