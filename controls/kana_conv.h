// Width (hankaku/zenkaku), kana and letter-case conversions of CP932 text.
#pragma once

#include <string>
#include <string_view>

namespace velmo::controls {

// Which half-width characters the width conversions touch. Any value other than
// the first two means both, as the edit control's 3 does.
constexpr int kWidthAscii = 1;  // printable ASCII 0x20-0x7E
constexpr int kWidthKana = 2;   // half-width katakana and kana punctuation 0xA1-0xDF
constexpr int kWidthBoth = 3;

// Half-width characters of the selected classes become full-width; a half-width
// kana followed by a voicing mark becomes the one voiced kana (ｶﾞ -> ガ, ﾊﾟ -> パ).
std::string ToZenkaku(std::string_view text, int classes);
// Full-width characters of the selected classes become half-width; a voiced
// katakana becomes two bytes (ガ -> ｶﾞ). Hiragana and kanji stay as they are.
std::string ToHankaku(std::string_view text, int classes);

std::string HiraganaToKatakana(std::string_view text);
std::string KatakanaToHiragana(std::string_view text);
// Full-width Latin letters only; half-width letters stay as they are.
std::string ZenkakuToLower(std::string_view text);
std::string ZenkakuToUpper(std::string_view text);

}  // namespace velmo::controls
