// Width, kana and case conversions, byte for byte on CP932 text.
#include "controls/kana_conv.h"

#include <gtest/gtest.h>

#include <string>

namespace velmo::controls {
namespace {

// The literals below are CP932 as the compiler converts them, so they check our
// tables against an independent CP932 mapping.
const std::string kHalfAscii =
    " !\"#$%&'()*+,-./"
    "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
const std::string kFullAscii =
    "　！”＃＄％＆’（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ"
    "ＰＱＲＳＴＵＶＷＸＹＺ"
    "［￥］＾＿‘ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝￣";
const std::string kHalfKana = "｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ";
const std::string kFullKana =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマ"
    "ミムメモヤユヨラリルレロワン゛゜";

TEST(KanaConv, LiteralsHoldTheCodesWeMean) {
    ASSERT_EQ(kHalfAscii.size(), 95u);
    ASSERT_EQ(kFullAscii.size(), 190u);
    ASSERT_EQ(kHalfKana.size(), 63u);
    ASSERT_EQ(kFullKana.size(), 126u);
    EXPECT_EQ(std::string("０Ａａ￥￣－ー。゛゜"),
              "\x82\x4F\x82\x60\x82\x81\x81\x8F\x81\x50\x81\x7C\x81\x5B\x81\x42\x81\x4A\x81\x4B");
}

TEST(KanaConv, WholeHalfWidthRangesBecomeFullWidthAndBack) {
    EXPECT_EQ(ToZenkaku(kHalfAscii, kWidthBoth), kFullAscii);
    EXPECT_EQ(ToZenkaku(kHalfKana, kWidthBoth), kFullKana);
    EXPECT_EQ(ToHankaku(kFullAscii, kWidthBoth), kHalfAscii);
    EXPECT_EQ(ToHankaku(kFullKana, kWidthBoth), kHalfKana);
    // Every voiced and semi-voiced katakana with a half-width form, both ways.
    const std::string voicedHalf = "ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ";
    const std::string voicedFull = "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ";
    EXPECT_EQ(ToZenkaku(voicedHalf, kWidthKana), voicedFull);
    EXPECT_EQ(ToHankaku(voicedFull, kWidthKana), voicedHalf);
}

TEST(KanaConv, ToZenkakuCases) {
    struct Case {
        std::string text;
        int classes;
        std::string expected;
    } cases[] = {
        {"", kWidthBoth, ""},
        {"ｶﾞｷﾞﾊﾟA1", kWidthBoth, "ガギパＡ１"},
        {"ｶﾞｷﾞﾊﾟA1", 7, "ガギパＡ１"},  // anything but 1 and 2 means both
        {"ｳﾞ", kWidthBoth, "ウ゛"},     // no merged form for ｳﾞ
        {"ｶﾟﾀﾟﾎﾞﾎﾟ", kWidthBoth, "カ゜タ゜ボポ"},
        {"ﾞｶ", kWidthBoth, "゛カ"},  // a mark before its kana is a mark of its own
        {"ｶﾞﾊﾟA1", kWidthKana, "ガパA1"},
        {"ｶﾞﾊﾟA1", kWidthAscii, "ｶﾞﾊﾟＡ１"},
        {"漢ア字a", kWidthBoth, "漢ア字ａ"},  // double-byte characters stay
        {"ソ\\", kWidthBoth, "ソ￥"},         // 0x5C trail byte is no backslash
        {"\t\x7F\x80\xA0\xFD\xFF", kWidthBoth, "\t\x7F\x80\xA0\xFD\xFF"},
        {"a\x83", kWidthBoth, "ａ\x83"},     // lead byte cut off at the end
        {"\x83 a", kWidthBoth, "\x83　ａ"},  // lead byte before a byte that is no trail
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToZenkaku(c.text, c.classes), c.expected) << c.text << " / " << c.classes;
}

TEST(KanaConv, ToHankakuCases) {
    struct Case {
        std::string text;
        int classes;
        std::string expected;
    } cases[] = {
        {"", kWidthBoth, ""},
        {"ガ", kWidthBoth, "ｶﾞ"},
        {"ひらがな", kWidthBoth, "ひらがな"},
        {"漢字", kWidthBoth, "漢字"},
        {"ヴヮヰヱヵヶ", kWidthBoth, "ヴヮヰヱヵヶ"},  // no half-width forms
        {"＼", kWidthBoth, "＼"},                      // 0x815F is not in the table
        {"￥", kWidthBoth, "\\"},
        {"ＡガＢ", kWidthAscii, "AガB"},
        {"ＡガＢ", kWidthKana, "ＡｶﾞＢ"},
        {"ＡガＢ", 0, "AｶﾞB"},
        {"ア\x83", kWidthBoth, "ｱ\x83"},                // lead byte cut off at the end
        {"\x83\x7F\x83\x41", kWidthBoth, "\x83\x7Fｱ"},  // 0x7F is no trail byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToHankaku(c.text, c.classes), c.expected) << c.text << " / " << c.classes;
}

TEST(KanaConv, HiraganaAndKatakana) {
    const std::string hiragana =
        "ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとど"
        "なにぬねのはばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをん";
    const std::string katakana =
        "ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトド"
        "ナニヌネノハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲン";
    EXPECT_EQ(HiraganaToKatakana(hiragana), katakana);
    EXPECT_EQ(KatakanaToHiragana(katakana), hiragana);

    struct Case {
        std::string text;
        std::string toKatakana;
        std::string toHiragana;
    } cases[] = {
        {"", "", ""},
        {"ゝゞ゛ーｱa漢", "ゝゞ゛ーｱa漢", "ゝゞ゛ーｱa漢"},
        // No hiragana for these in CP932: they must not become unmapped codes.
        {"ヴヵヶ", "ヴヵヶ", "ヴヵヶ"},
        {"あ\x82", "ア\x82", "あ\x82"},
        {"ア\x83", "ア\x83", "あ\x83"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HiraganaToKatakana(c.text), c.toKatakana) << c.text;
        EXPECT_EQ(KatakanaToHiragana(c.text), c.toHiragana) << c.text;
    }
}

TEST(KanaConv, FullWidthLetterCase) {
    const std::string upper = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ";
    const std::string lower = "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ";
    EXPECT_EQ(ZenkakuToLower(upper), lower);
    EXPECT_EQ(ZenkakuToUpper(lower), upper);
    const std::string others = "Aa０９＠［｀｛アα\x82";
    EXPECT_EQ(ZenkakuToLower(others), others);
    EXPECT_EQ(ZenkakuToUpper(others), others);
}

}  // namespace
}  // namespace velmo::controls
