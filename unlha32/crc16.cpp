// CRC-16 by slicing four bytes at a time: extraction checks every byte of every file.
#include "unlha32/crc16.h"

#include <array>

namespace unlha32 {
namespace {

struct Tables {
    std::uint16_t t[4][256];
    Tables() {
        for (unsigned i = 0; i < 256; ++i) {
            std::uint16_t c = static_cast<std::uint16_t>(i);
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? static_cast<std::uint16_t>((c >> 1) ^ 0xA001) : c >> 1;
            t[0][i] = c;
        }
        for (unsigned i = 0; i < 256; ++i)
            for (int s = 1; s < 4; ++s)
                t[s][i] = static_cast<std::uint16_t>((t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF]);
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

}  // namespace

std::uint16_t Crc16(std::uint16_t crc, const void* data, std::size_t size) {
    const auto& t = GetTables().t;
    auto p = static_cast<const unsigned char*>(data);
    while (size >= 4) {
        std::uint32_t v = crc ^ (p[0] | (p[1] << 8));
        crc = static_cast<std::uint16_t>(t[3][v & 0xFF] ^ t[2][(v >> 8) & 0xFF] ^ t[1][p[2]] ^
                                         t[0][p[3]]);
        p += 4;
        size -= 4;
    }
    while (size--) crc = static_cast<std::uint16_t>((crc >> 8) ^ t[0][(crc ^ *p++) & 0xFF]);
    return crc;
}

}  // namespace unlha32
