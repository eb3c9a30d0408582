// CP932 <-> UTF-8 through glibc's iconv.
#include "platform/text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace velmo::platform {
namespace {

// Length of the input sequence to pass over when it cannot be converted.
using SkipLength = std::size_t (*)(unsigned char lead);

std::size_t Cp932Skip(unsigned char lead) {
    return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
}

std::size_t Utf8Skip(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    return 1;
}

// Converts with iconv, replacing each sequence that has no mapping by `bad`.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view bad,
                    SkipLength skipLength) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    char buffer[1024];
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        std::size_t rc = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer, dst - buffer);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out.append(bad);
            std::size_t skip = std::min(left, skipLength(static_cast<unsigned char>(*src)));
            src += skip;
            left -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
    return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", Cp932Skip);
}

std::string Utf8ToCp932(std::string_view utf8) {
    return Convert("CP932", "UTF-8", utf8, "?", Utf8Skip);
}

}  // namespace velmo::platform
