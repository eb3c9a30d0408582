// Width (hankaku/zenkaku), kana and letter-case conversions of CP932 text.
#include "controls/kana_conv.h"

#include <array>
#include <cstdint>
#include <unordered_map>

#include "platform/text.h"

namespace velmo::controls {
namespace {

using Code = std::uint16_t;

constexpr bool IsTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// A double-byte character is recognised where it stands: a lead byte with a real
// trail byte after it. A lead byte cut off at the end, or followed by a byte that
// cannot be a trail byte, is passed on as a single byte.
bool DoubleByteAt(std::string_view text, std::size_t i) {
    return i + 1 < text.size() && platform::IsLeadByte(text[i]) &&
           IsTrailByte(static_cast<unsigned char>(text[i + 1]));
}

Code CodeAt(std::string_view text, std::size_t i) {
    return static_cast<Code>(static_cast<unsigned char>(text[i]) << 8 |
                             static_cast<unsigned char>(text[i + 1]));
}

void AppendCode(std::string& out, Code code) {
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

constexpr bool IsAsciiByte(unsigned char b) { return b >= 0x20 && b <= 0x7E; }
constexpr bool IsKanaByte(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }
constexpr bool AsciiSelected(int classes) { return classes != kWidthKana; }
constexpr bool KanaSelected(int classes) { return classes != kWidthAscii; }

// Full-width forms of the printable ASCII symbols, in byte order. Backslash and
// tilde take their JIS Roman reading (yen sign, overline); the quotes become the
// typographic ones.
struct Symbol {
    unsigned char ascii;
    Code full;
};
constexpr Symbol kSymbols[] = {
    {' ', 0x8140},  {'!', 0x8149},  {'"', 0x8168}, {'#', 0x8194}, {'$', 0x8190}, {'%', 0x8193},
    {'&', 0x8195},  {'\'', 0x8166}, {'(', 0x8169}, {')', 0x816A}, {'*', 0x8196}, {'+', 0x817B},
    {',', 0x8143},  {'-', 0x817C},  {'.', 0x8144}, {'/', 0x815E}, {':', 0x8146}, {';', 0x8147},
    {'<', 0x8183},  {'=', 0x8181},  {'>', 0x8184}, {'?', 0x8148}, {'@', 0x8197}, {'[', 0x816D},
    {'\\', 0x818F}, {']', 0x816E},  {'^', 0x814F}, {'_', 0x8151}, {'`', 0x8165}, {'{', 0x816F},
    {'|', 0x8162},  {'}', 0x8170},  {'~', 0x8150},
};

constexpr Code ZenkakuOfAscii(unsigned char b) {
    if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z')) return static_cast<Code>(b + 0x821F);
    if (b >= 'a' && b <= 'z') return static_cast<Code>(b + 0x8220);
    for (const Symbol& s : kSymbols)
        if (s.ascii == b) return s.full;
    return b;
}

// JIS X 0208 forms of the half-width kana 0xA1-0xDF, in byte order.
constexpr std::array<Code, 63> kZenkakuKana = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342,  // ｡｢｣､･ｦｧｨ
    0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362, 0x815B,  // ｩｪｫｬｭｮｯｰ
    0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E,  // ｱｲｳｴｵｶｷｸ
    0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E,  // ｹｺｻｼｽｾｿﾀ
    0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C,  // ﾁﾂﾃﾄﾅﾆﾇﾈ
    0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E,  // ﾉﾊﾋﾌﾍﾎﾏﾐ
    0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389, 0x838A,  // ﾑﾒﾓﾔﾕﾖﾗﾘ
    0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,          // ﾙﾚﾛﾜﾝﾞﾟ
};

constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ
// ｶ-ﾄ and ﾊ-ﾎ take the voiced mark, ﾊ-ﾎ also the semi-voiced one; the voiced
// katakana follows its base at +1, the semi-voiced at +2. ｳﾞ has no merged form here.
constexpr bool TakesVoicedMark(unsigned char b) {
    return (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE);
}
constexpr bool TakesSemiVoicedMark(unsigned char b) { return b >= 0xCA && b <= 0xCE; }

// The inverse of the tables above, one map per class, so that ToHankaku undoes
// exactly what ToZenkaku does.
struct HankakuTables {
    std::unordered_map<Code, std::string> ascii;
    std::unordered_map<Code, std::string> kana;
};

const HankakuTables& Hankaku() {
    static const HankakuTables tables = [] {
        HankakuTables t;
        for (unsigned b = 0x20; b <= 0x7E; ++b)
            t.ascii.emplace(ZenkakuOfAscii(static_cast<unsigned char>(b)),
                            std::string(1, static_cast<char>(b)));
        for (unsigned b = 0xA1; b <= 0xDF; ++b) {
            const Code full = kZenkakuKana[b - 0xA1];
            const char base = static_cast<char>(b);
            t.kana.emplace(full, std::string(1, base));
            if (TakesVoicedMark(static_cast<unsigned char>(b)))
                t.kana.emplace(full + 1, std::string{base, static_cast<char>(kVoicedMark)});
            if (TakesSemiVoicedMark(static_cast<unsigned char>(b)))
                t.kana.emplace(full + 2, std::string{base, static_cast<char>(kSemiVoicedMark)});
        }
        return t;
    }();
    return tables;
}

// Applies change to every double-byte character; single bytes pass unchanged.
template <typename Change>
std::string MapDoubleByte(std::string_view text, Change change) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (DoubleByteAt(text, i)) {
            AppendCode(out, change(CodeAt(text, i)));
            i += 2;
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace

std::string ToZenkaku(std::string_view text, int classes) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        if (DoubleByteAt(text, i)) {
            out.append(text.substr(i, 2));
            i += 2;
            continue;
        }
        const auto b = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (IsAsciiByte(b) && AsciiSelected(classes)) {
            AppendCode(out, ZenkakuOfAscii(b));
        } else if (IsKanaByte(b) && KanaSelected(classes)) {
            Code full = kZenkakuKana[b - 0xA1];
            if (next == kVoicedMark && TakesVoicedMark(b)) {
                full += 1;
                ++i;
            } else if (next == kSemiVoicedMark && TakesSemiVoicedMark(b)) {
                full += 2;
                ++i;
            }
            AppendCode(out, full);
        } else {
            out += text[i];
        }
        ++i;
    }
    return out;
}

std::string ToHankaku(std::string_view text, int classes) {
    const HankakuTables& tables = Hankaku();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (!DoubleByteAt(text, i)) {
            out += text[i++];
            continue;
        }
        const Code code = CodeAt(text, i);
        const std::string* half = nullptr;
        if (AsciiSelected(classes)) {
            if (auto it = tables.ascii.find(code); it != tables.ascii.end()) half = &it->second;
        }
        if (!half && KanaSelected(classes)) {
            if (auto it = tables.kana.find(code); it != tables.kana.end()) half = &it->second;
        }
        if (half)
            out += *half;
        else
            out.append(text.substr(i, 2));
        i += 2;
    }
    return out;
}

std::string HiraganaToKatakana(std::string_view text) {
    // Katakana skip the code 0x837F, hence the second offset from む on.
    return MapDoubleByte(text, [](Code c) -> Code {
        if (c >= 0x829E && c <= 0x82DD) return c + 0xA1;
        if (c >= 0x82DE && c <= 0x82F1) return c + 0xA2;
        return c;
    });
}

std::string KatakanaToHiragana(std::string_view text) {
    // Ends at ン: ヴ, ヵ and ヶ have no hiragana in code page 932, and moving them
    // by the same offset would make codes that no CP932 reader can show.
    return MapDoubleByte(text, [](Code c) -> Code {
        if (c >= 0x833F && c <= 0x837F) return c - 0xA1;
        if (c >= 0x8380 && c <= 0x8393) return c - 0xA2;
        return c;
    });
}

std::string ZenkakuToLower(std::string_view text) {
    return MapDoubleByte(text, [](Code c) -> Code {
        return c >= 0x825F && c <= 0x8279 ? static_cast<Code>(c + 0x21) : c;
    });
}

std::string ZenkakuToUpper(std::string_view text) {
    return MapDoubleByte(text, [](Code c) -> Code {
        return c >= 0x8280 && c <= 0x829A ? static_cast<Code>(c - 0x21) : c;
    });
}

}  // namespace velmo::controls
