// Double-byte-safe string functions and the date-text helpers.
#include "controls/mb_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace velmo::controls {
namespace {

TEST(MbText, MbPosFindsOnlyWholeCharacters) {
    // ア is 0x83 0x41, ソ is 0x83 0x5C: their trail bytes look like "A" and "\".
    struct Case {
        std::string sub;
        std::string text;
        std::size_t expected;
    } cases[] = {
        {"A", "ア", 0},
        {"A", "アA", 3},  // the position in the whole text, after the rejected hit
        {"A", "アアxA", 6},
        {"\\", "ソ", 0},
        {"\\", "C:\\ソ\\", 3},
        {"ア", "\x83ア", 0},  // 0x83 0x83 0x41: the hit starts on a trail byte
        {"ア", "xア", 2},
        {"", "abc", 0},
        {"a", "", 0},
        {"abcd", "abc", 0},
        {"月", "01年 02月", 8},
        {"\x83", "aア", 2},  // a cut character still matches its lead byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(MbPos(c.sub, c.text), c.expected) << c.sub << " in " << c.text;
}

TEST(MbText, DoubleByteCharactersRemovedOrBlanked) {
    struct Case {
        std::string text;
        std::string deleted;
        std::string blanked;
    } cases[] = {
        {"", "", ""},
        {"aア漢b", "ab", "a    b"},
        {"ソ\\", "\\", "  \\"},  // the 0x5C trail byte goes with its character
        {"ｱｲ1", "ｱｲ1", "ｱｲ1"},   // half-width kana are single bytes
        // A character cut off at the end: nothing is read past it, and the blanked
        // text keeps its length.
        {"a\x83", "a", "a "},
        {"\x83", "", " "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeleteDoubleByte(c.text), c.deleted) << c.text;
        EXPECT_EQ(BlankDoubleByte(c.text), c.blanked) << c.text;
    }
}

TEST(MbText, TrimSpaces) {
    struct Case {
        std::string text;
        std::string sides;
        std::string expected;
    } cases[] = {
        {"　ａ　 ", "R", "　ａ"},
        {"　ａ　 ", "r", "　ａ"},
        {" 　ａ　 ", "L", "ａ　 "},
        {" 　ａ　 ", "l", "ａ　 "},
        {" 　ａ　 ", "", "ａ"},
        {" 　ａ　 ", "LR", "ａ"},
        {" 　ａ　 ", "x", " 　ａ　 "},
        {" 　 ", "", ""},
        {"", "", ""},
        {"＝@", "R", "＝@"},      // 0x81 0x81 0x40: the "@" is no full-width space
        {"\x81 ", "R", "\x81 "},  // the space is the trail byte of a character
        {"a\x81", "", "a\x81"},
        // Half a full-width space is not one, and nothing past it is read.
        {"\x81", "L", "\x81"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrimSpaces(c.text, c.sides), c.expected) << "[" << c.text << "] " << c.sides;
}

TEST(MbText, DeleteAll) {
    struct Case {
        std::string sub;
        std::string text;
        std::string expected;
    } cases[] = {
        {"-", "012-345-678", "012345678"},
        {"A", "AアAbA", "アb"},  // the trail byte of ア stays
        {"ab", "aabb", ""},      // what a removal joins is removed as well
        {"", "abc", "abc"},
        {"x", "", ""},
        {"　", "　年　月", "年月"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeleteAll(c.sub, c.text), c.expected) << c.sub << " in " << c.text;
}

TEST(MbText, NumericOnly) {
    struct Case {
        std::string text;
        std::string expected;
    } cases[] = {
        {"-1,234.5.6", "-1234.56"},
        {"abc", "0"},
        {"１２", "0"},  // full-width digits do not count
        {"", "0"},
        {"-", "0"},
        {"12-", "-12"},
        {"－12", "12"},  // neither does the full-width minus
        {"\\1,000", "1000"},
        {".5", ".5"},
        {"ソ5", "5"},
    };
    for (const Case& c : cases) EXPECT_EQ(NumericOnly(c.text), c.expected) << c.text;
}

TEST(MbText, LastDayOfMonth) {
    struct Case {
        std::string date;
        std::string expected;
    } cases[] = {
        {"2001/01/15", "2001/01/31"}, {"2001/02/01", "2001/02/28"}, {"2000/02/10", "2000/02/29"},
        {"1900/2/1", "1900/02/28"},   {"2001/04/31", "2001/04/30"}, {"2001/12/05", "2001/12/31"},
        {"2001/00/01", "2000/12/31"}, {"2001/3/", "2001/03/31"},    {"9999/12/1", "9999/12/31"},
    };
    for (const Case& c : cases) EXPECT_EQ(LastDayOfMonth(c.date), c.expected) << c.date;

    for (const char* bad : {"", "2001-02-01", "2001/02", "x/02/01", "2001/x/01", "2001//01",
                            "2001/13/01", "2001/-1/01", "0/05/01", "1/00/01", "99999999999/1/1"})
        EXPECT_THROW(LastDayOfMonth(bad), ConvertError) << bad;
}

TEST(MbText, MakeDate) {
    struct Case {
        int year, month, day;
        std::string expected;
    } cases[] = {
        {2001, 2, 31, "2001/02/28"},
        {2000, 2, 30, "2000/02/29"},
        {2001, 4, 31, "2001/04/30"},
        {2001, 4, 30, "2001/04/30"},
        {2001, 1, 31, "2001/01/31"},
        {2000, 14, 1, "2001/02/01"},
        {2000, 0, 10, "1999/12/10"},
        {2000, 12, 5, "2000/12/05"},
        {2000, 13, 5, "2001/01/05"},
        {2000, 25, 5, "2002/01/05"},
        {2000, -12, 5, "1998/12/05"},
        {2000, -11, 5, "1999/01/05"},
        {2001, 3, 0, "2001/03/31"},  // no day 0: the last day of the month
        {2001, 3, -4, "2001/03/31"},
        {1, 1, 1, "0001/01/01"},
        {9999, 12, 31, "9999/12/31"},
        // Out of the date range: the nearest date there is, never an exception.
        {0, 5, 5, "0001/01/01"},
        {1, 0, 1, "0001/01/01"},
        {9999, 13, 1, "9999/12/31"},
        {INT_MAX, INT_MAX, 1, "9999/12/31"},
        {INT_MIN, INT_MIN, 1, "0001/01/01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeDate(c.year, c.month, c.day), c.expected)
            << c.year << "/" << c.month << "/" << c.day;
}

TEST(MbText, FixEraFirstYear) {
    const std::string dayinBi = "gg ee\"年\" mm\"月\" dd\"日\"";
    const std::string singleE = "gg e\"年\" mm\"月\" dd\"日\"";
    struct Case {
        std::string formatted;
        std::string pattern;
        std::string expected;
    } cases[] = {
        {"昭和64年 01月 07日", dayinBi, "平成01年 01月 07日"},
        {"昭和64年 01月 07日", singleE, "平成1年 01月 07日"},
        {"昭和64/01/05", "ggee/mm/dd", "平成01/01/05"},
        {"昭64/01/05", "gee/mm/dd", "平01/01/05"},  // no 和 to change
        {"昭和63年 12月 31日", dayinBi, "昭和63年 12月 31日"},
        {"平成01年 01月 08日", dayinBi, "平成01年 01月 08日"},
        {"S64/01/07", "gee/mm/dd", "S64/01/07"},
        {"", dayinBi, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FixEraFirstYear(c.formatted, c.pattern), c.expected) << c.formatted;
}

}  // namespace
}  // namespace velmo::controls
