// The "$$" password encoding.
#include "steps/password.h"

#include <cstdio>

#include "platform/text.h"

namespace velmo::steps {
namespace {

int HexDigitValue(char c) {
    constexpr std::string_view digits = "123456789ABCDEF";
    std::size_t at = digits.find(c);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

}  // namespace

std::string ScramblePassword(std::string_view plain) {
    std::string out = "$$";
    out.reserve(2 + 5 * ((plain.size() + 1) / 2));
    for (std::size_t i = 0; i < plain.size(); i += 2) {
        unsigned b1 = static_cast<unsigned char>(plain[i]);
        unsigned b2 = i + 1 < plain.size() ? static_cast<unsigned char>(plain[i + 1]) : 0;
        char group[8];
        std::snprintf(group, sizeof group, "%05X", (b1 + 256 * b2) * 8);
        out += group;
    }
    return out;
}

std::string UnscramblePassword(std::string_view text) {
    if (!text.starts_with("$$")) return std::string(text);
    std::string out;
    for (std::size_t p = 2; p < text.size(); p += 5) {
        unsigned long a = 0;
        for (std::size_t k = 0; k < 5; ++k)
            a = a * 16 + (p + k < text.size() ? HexDigitValue(text[p + k]) : 0);
        unsigned long v = a >> 3;
        // Broken digits can give v above 0xFFFF; the low byte then loses v div 65536.
        out += static_cast<char>((v - v / 65536) % 256);
        out += static_cast<char>((v / 256) % 256);
    }
    return out;
}

std::string PasswordField(std::string_view unscrambled) {
    std::string_view text = unscrambled.substr(0, unscrambled.find('\0'));
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t step = platform::IsLeadByte(text[end]) && end + 1 < text.size() ? 2 : 1;
        if (end + step > kPasswordFieldBytes) break;
        end += step;
    }
    return std::string(text.substr(0, end));
}

}  // namespace velmo::steps
