// Our INI engine against the system's own GetPrivateProfileStringA on the same files (ACP 932).
#include <gtest/gtest.h>
#include <windows.h>

#include "../unit/test_folder.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace velmo::platform {
namespace {

std::string SystemRead(const std::string& path, const std::string& section,
                       const std::string& key) {
    std::string buffer(2048, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "<default>", buffer.data(),
                                       static_cast<DWORD>(buffer.size()), path.c_str());
    buffer.resize(n);
    return buffer;
}

std::string Repeat(std::string_view unit, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += unit;
    return s;
}

struct Lookup {
    std::string section, key;
};

// Each file is read with every lookup, by both engines.
const std::string kFiles[] = {
    "[データ送信]\r\nUser=abc\r\nPASS=$$31308\r\nuser=later\r\n",
    "  [ データ送信 ]  \r\n  User  =  spaced value  \r\n\tPass\t=\ttabbed\t\r\n",
    "[データ送信]\r\nUser=first\r\n[データ送信]\r\nUser=second\r\nPass=only second\r\n",
    "[ソフト表]\r\nUser=表\\ソ\\能\r\nPass=C:\\データ\\ソ\r\n",
    "[データ送信]\nUser=\"quoted\"\nPass='single'\nWriteDir=\"half\n",
    "[データ送信]\r\nUser=" + std::string(2100, 'x') + "\r\nPass=" + Repeat("ア", 900) + "\r\n",
    "User=no section\r\n[データ送信]\r\nNoEquals\r\nPass=\r\n",
    "[ＡＢＣ]\r\nＵｓｅｒ=full width\r\n[abc]\r\nuser=ascii\r\n",
    "[データ送信]\r\nWriteDIR=C:\\UserData\r\nreaddir=D:\\送信\r\n",
};

const Lookup kLookups[] = {
    {"データ送信", "User"},     {"データ送信", "Pass"},    {"データ送信", "user"},
    {"データ送信", "NoEquals"}, {"データ送信", "Missing"}, {"データ送信", "WriteDir"},
    {"データ送信", "ReadDir"},  {"ソフト表", "User"},      {"ソフト表", "Pass"},
    {"ａｂｃ", "ｕｓｅｒ"},     {"ABC", "USER"},           {"データ受信", "User"},
};

class ProfileVsWindows : public ::testing::Test {
  protected:
    velmo::testing::TestFolder folder_;
};

TEST_F(ProfileVsWindows, RunsWithTheJapaneseCodePage) { ASSERT_EQ(GetACP(), 932u); }

TEST_F(ProfileVsWindows, SameBytesForTrickyFiles) {
    int index = 0;
    for (const std::string& contents : kFiles) {
        // A file name of its own for each case: the system caches profile files.
        std::string path = folder_.Path("case" + std::to_string(index++) + ".ini");
        ASSERT_TRUE(WriteWholeFile(path, contents));
        ProfileFile ini(path);
        for (const Lookup& l : kLookups)
            EXPECT_EQ(ini.ReadString(l.section, l.key, "<default>"),
                      SystemRead(path, l.section, l.key))
                << "file " << index - 1 << " [" << l.section << "] " << l.key;
    }
    EXPECT_EQ(
        ProfileFile(folder_.Path("missing.ini")).ReadString("データ送信", "User", "<default>"),
        SystemRead(folder_.Path("missing.ini"), "データ送信", "User"));
}

TEST_F(ProfileVsWindows, WhatWeWriteTheSystemReadsBack) {
    std::string path = folder_.Path("written.ini");
    ASSERT_TRUE(WriteWholeFile(path, "; kept\r\n[データ受信]\r\nUser=R\r\n"));
    ProfileFile ini(path);
    const std::pair<std::string, std::string> values[] = {
        {"User", "ＤＡＴＡ"},
        {"Pass", "$$3130800318"},
        {"WriteDIR", "C:\\ソ\\表"},
        {"CopyURL", "http://"},
        {"ReadDIR", ""},
        {"FTPServer", "ftp.example"},
        {"POPCheck", "1"},
        {"NETServer", "ＬＡＮ接続"},
    };
    for (const auto& [key, value] : values) ASSERT_TRUE(ini.WriteString("データ送信", key, value));
    ASSERT_TRUE(ini.WriteString("データ送信", "User", "again"));
    for (const auto& [key, value] : values)
        EXPECT_EQ(SystemRead(path, "データ送信", key), key == "User" ? "again" : value) << key;
    EXPECT_EQ(SystemRead(path, "データ送信", "WriteDir"), "C:\\ソ\\表");
    EXPECT_EQ(SystemRead(path, "データ受信", "User"), "R");
}

}  // namespace
}  // namespace velmo::platform
