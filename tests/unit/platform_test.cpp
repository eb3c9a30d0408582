// Platform services: CP932 conversions, "\" paths with 0x5C trail bytes, files and time stamps.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/library.h"
#include "platform/text.h"

namespace velmo::platform {
namespace {

TEST(Text, LiteralsAreCp932) {
    EXPECT_EQ(std::string("データ送信"), "\x83\x66\x81\x5B\x83\x5E\x91\x97\x90\x4D");
    EXPECT_EQ(std::string("ソ"), "\x83\x5C");
}

TEST(Text, Cp932RoundTripsThroughUtf8) {
    const std::string cp932 = "ソフト表\\能ｶﾅ ABC";
    const std::string utf8 = Cp932ToUtf8(cp932);
    const std::u8string expected = u8"ソフト表\\能ｶﾅ ABC";
    EXPECT_EQ(utf8, std::string(expected.begin(), expected.end()));
    EXPECT_EQ(Utf8ToCp932(utf8), cp932);
}

TEST(Text, BackslashAfterLeadByteIsNoSeparator) {
    struct Case {
        std::string text;
        bool ends;
    } cases[] = {{"", false},    {"a\\", true},          {"ソ", false},  {"表", false},
                 {"ソ\\", true}, {"C:\\データ\\", true}, {"\x83", false}};
    for (const Case& c : cases) EXPECT_EQ(EndsWithBackslash(c.text), c.ends) << c.text;
    EXPECT_EQ(JoinPath("C:\\ソ", "a"), "C:\\ソ\\a");
    EXPECT_EQ(JoinPath("C:\\", "a"), "C:\\a");
    EXPECT_EQ(JoinPath("", "a"), "a");
}

}  // namespace
}  // namespace velmo::platform
