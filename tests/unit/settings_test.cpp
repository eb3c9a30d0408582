// Settings: password scrambling, defaults, reading and writing a section, the run record,
// and the program's switches.
#include "app/settings.h"

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "platform/files.h"
#include "test_folder.h"

namespace velmo::app {
namespace {

TEST(Scramble, KnownTexts) {
    struct Case {
        std::string plain, scrambled;
    } cases[] = {
        {"", "$$"},        {"abc", "$$3130800318"}, {"ab", "$$31308"}, {"\xFF\xFF", "$$7FFF8"},
        {"ア", "$$20C18"},  // 83 41: the first byte is the low one
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScramblePassword(c.plain), c.scrambled) << c.plain;
        EXPECT_EQ(PasswordField(UnscramblePassword(c.scrambled)), c.plain) << c.scrambled;
    }
    EXPECT_EQ(UnscramblePassword("$$3130800318"), std::string("abc\0", 4));
}

TEST(Scramble, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    for (std::size_t n : {0u, 1u, 2u, 3u, 254u, 255u}) {
        std::string plain = all.substr(0, n);
        std::string scrambled = ScramblePassword(plain);
        EXPECT_EQ(scrambled.size(), 2 + 5 * ((n + 1) / 2));
        std::string back = UnscramblePassword(scrambled);
        EXPECT_EQ(back.size(), n + n % 2);  // an odd length gains a zero pad byte
        EXPECT_EQ(back.substr(0, n), plain);
    }
}

TEST(Scramble, PasswordFieldHoldsFortyBytesAndNoHalfCharacter) {
    const std::string ascii(50, 'p');
    std::string kanji;
    for (int i = 0; i < 25; ++i) kanji += "鍵";
    EXPECT_EQ(PasswordField(ascii), ascii.substr(0, 40));
    EXPECT_EQ(PasswordField("x" + kanji), "x" + kanji.substr(0, 38));  // 39 bytes, not 40
    // A long password stored in the file is held as the field holds it, on both sides.
    testing::TestFolder folder;
    platform::ProfileFile ini(folder.Path("Velmo.ini"));
    ASSERT_TRUE(ini.WriteString("s", "Pass", ScramblePassword(ascii)));
    EXPECT_EQ(ReadSettings(ini, "s", "", "").pass, ascii.substr(0, 40));
}

TEST(Scramble, PlainAndBrokenTexts) {
    EXPECT_EQ(UnscramblePassword("secret"), "secret");    // stored in plain: used as it is
    EXPECT_EQ(UnscramblePassword("$secret"), "$secret");  // one "$" is no mark
    // Lower-case and foreign digits count 0; a short last group is padded with zeros.
    EXPECT_EQ(UnscramblePassword("$$3130g"), "`b");
    EXPECT_EQ(UnscramblePassword("$$313"), "`b");
    EXPECT_EQ(UnscramblePassword("$$FFFFF"), std::string("\xFE\xFF", 2));  // v > 0xFFFF
}

class SettingsFileTest : public ::testing::Test {
  protected:
    testing::TestFolder folder_;
    platform::ProfileFile ini_{folder_.Path("Velmo.ini")};
    const std::string section_ = "データ送信";
};

TEST_F(SettingsFileTest, FirstStartWithoutFileGivesThePlainDefaults) {
    SettingsValues v = ReadSettings(ini_, section_, "", "");
    EXPECT_EQ(v, PlainDefaults());
    EXPECT_EQ(v.user, "DATA");
    EXPECT_EQ(v.pass.size(), 4u);
    EXPECT_EQ(v.writeDir, "UserData");
    EXPECT_EQ(v.copyUrl, "http://");
    EXPECT_EQ(v.ftpDir, "/");
    EXPECT_FALSE(v.popCheck);
    EXPECT_FALSE(v.netCheck);
    EXPECT_EQ(v.netServer, "");
    EXPECT_FALSE(platform::FileExists(ini_.Path()));
}

TEST_F(SettingsFileTest, DefaultUserSelectsThePresets) {
    SettingsValues v = ReadSettings(ini_, section_, "abc", "C:\\送信");
    EXPECT_EQ(v.user, "abc");
    EXPECT_EQ(v.pass, "");
    EXPECT_TRUE(v.popCheck);
    EXPECT_EQ(v.ftpDir, "/");
    EXPECT_EQ(v.readDir, "C:\\送信");
    EXPECT_EQ(v.writeDir, "C:\\送信");
    EXPECT_TRUE(v.copyUrl.starts_with("http://") && v.copyUrl.ends_with("/Data"));
    EXPECT_EQ(v.ftpPass.size(), 8u);
    EXPECT_EQ(v.popPass, v.ftpPass);
    EXPECT_FALSE(v.netCheck);
}

TEST_F(SettingsFileTest, WritesInOrderAndReadsBack) {
    SettingsValues v = PlainDefaults();
    v.user = "ユーザ";
    v.pass = "abc";
    v.readDir = "D:\\ソ\\表";
    v.popCheck = true;
    v.netServer = std::string(kLanEntry);
    v.netPass = "";
    WriteSettings(ini_, section_, v);
    EXPECT_EQ(platform::ReadWholeFile(ini_.Path()),
              "[データ送信]\r\nUser=ユーザ\r\nPass=$$3130800318\r\nWriteDIR=UserData\r\n"
              "CopyURL=http://\r\nReadDIR=D:\\ソ\\表\r\nFTPServer=\r\nFTPDir=/\r\nFTPUser=\r\n"
              "FTPPass=$$\r\nPOPCheck=1\r\nPOPServer=\r\nPOPUser=\r\nPOPPass=$$\r\n"
              "NETCheck=0\r\nNETServer=ＬＡＮ接続\r\nNETUser=\r\nNETPass=$$\r\n");
    EXPECT_EQ(ReadSettings(ini_, section_, "", ""), v);
    EXPECT_EQ(ReadSettings(ini_, section_, "preset", "X"), v);  // stored keys win over presets
}

TEST_F(SettingsFileTest, PlainPasswordInTheFileIsUsedThenStoredScrambled) {
    ASSERT_TRUE(platform::WriteWholeFile(ini_.Path(), "[データ送信]\r\nPass=secret\r\n"));
    SettingsValues v = ReadSettings(ini_, section_, "", "");
    EXPECT_EQ(v.pass, "secret");
    WriteSettings(ini_, section_, v);
    EXPECT_EQ(ini_.ReadString(section_, "Pass", ""), ScramblePassword("secret"));
    EXPECT_EQ(ReadSettings(ini_, section_, "", "").pass, "secret");
}

TEST_F(SettingsFileTest, UnwritableFileIsSwallowed) {
    platform::ProfileFile missing(folder_.Path("no such folder\\Velmo.ini"));
    WriteSettings(missing, section_, PlainDefaults());
    WriteFormPosition(missing, section_, 1, 2);
    EXPECT_FALSE(platform::FileExists(missing.Path()));
}

TEST_F(SettingsFileTest, FormPosition) {
    EXPECT_FALSE(ReadFormPosition(ini_, section_).stored);
    WriteFormPosition(ini_, section_, 120, -30);
    FormPlacement p = ReadFormPosition(ini_, section_);
    EXPECT_TRUE(p.stored);
    EXPECT_EQ(p.top, 120);
    EXPECT_EQ(p.left, -30);
    EXPECT_EQ(platform::ReadWholeFile(ini_.Path()),
              "[データ送信]\r\nFormPosition=1\r\nFormTop=120\r\nFormLeft=-30\r\n");
    ASSERT_TRUE(ini_.WriteString(section_, "FormPosition", "2"));
    EXPECT_FALSE(ReadFormPosition(ini_, section_).stored);
}

TEST(CollectSettings, RecordFromValues) {
    SettingsValues v = PlainDefaults();
    v.netCheck = true;
    v.netServer = "会社";
    SettingsRecord r = CollectSettings(v);
    EXPECT_EQ(r.UserID, "DATA");
    EXPECT_EQ(r.SaveFolder, "UserData");
    EXPECT_EQ(r.ReceiveAddress, "http://");
    EXPECT_TRUE(r.UseDialUp);
    EXPECT_EQ(r.DialEntry, "会社");
    EXPECT_EQ(r.DownloadWord, "ダウンロード");
    EXPECT_EQ(r.UploadWord, "アップロード");
    v.netServer = std::string(kLanEntry);
    EXPECT_EQ(CollectSettings(v).DialEntry, "");
}

TEST(CommandLine, Switches) {
    struct Case {
        std::vector<std::string> args;
        int mode;
        std::string user, folder, ini, noDialog;
    } cases[] = {
        {{}, 0, "", "", "", ""},
        {{"/R"}, 2, "", "", "", ""},
        {{"/R", "/S"}, 1, "", "", "", ""},
        {{"/U:abc"}, 0, "abc", "", "", ""},
        {{"x/U:abc"}, 0, "abc", "", "", ""},
        {{"/u:abc"}, 0, "", "", "", ""},
        {{"/U:abc", "/U:def"}, 0, "def", "", "", ""},
        {{"/I:other.ini"}, 0, "", "", "other.ini", ""},
        {{"/F:C:\\ソ"}, 0, "", "C:\\ソ", "", ""},
        {{"/N"}, 0, "", "", "", "/N"},
        {{"/U:a/N"}, 0, "a/N", "", "", "/U:a/N"},  // one argument, two switches
    };
    for (const Case& c : cases) {
        CommandLine line = ParseCommandLine(c.args);
        std::string what = c.args.empty() ? "(none)" : c.args.front();
        EXPECT_EQ(line.runMode, c.mode) << what;
        EXPECT_EQ(line.defaultUser, c.user) << what;
        EXPECT_EQ(line.defaultFolder, c.folder) << what;
        EXPECT_EQ(line.iniName, c.ini) << what;
        EXPECT_EQ(line.noDialogArg, c.noDialog) << what;
    }
    EXPECT_EQ(SettingsPath("C:\\ソ", {}), "C:\\ソ\\Velmo.ini");
    EXPECT_EQ(SettingsPath("C:\\ソ", ParseCommandLine({"/I:other.ini"})), "C:\\ソ\\other.ini");
}

}  // namespace
}  // namespace velmo::app
