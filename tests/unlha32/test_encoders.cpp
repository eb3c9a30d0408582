// Test encoders: plain greedy matching, written from the format descriptions, independent of the
// library's decoders apart from lh1's adaptive tree (which lhasa checks in the interop suite).
#include "tests/unlha32/test_encoders.h"

#include <cstring>
#include <vector>

#include "unlha32/adaptive_huffman.h"
#include "unlha32/codec.h"
#include "unlha32/crc16.h"
#include "unlha32/header.h"
#include "unlha32/huffman.h"
#include "unlha32/streams.h"

namespace unlha32::test {
namespace {

struct Match {
    std::size_t length = 0, distance = 0;
};

// Longest match for history[at...] within `window` bytes back, lengths minLength..maxLength.
Match Longest(const std::string& h, std::size_t at, std::size_t window, std::size_t minLength,
              std::size_t maxLength) {
    Match best;
    std::size_t limit = std::min(maxLength, h.size() - at);
    for (std::size_t d = 1; d <= window && d <= at; ++d) {
        std::size_t n = 0;
        while (n < limit && h[at - d + n] == h[at + n]) ++n;
        if (n > best.length) best = {n, d};
    }
    if (best.length < minLength) best = {};
    return best;
}

std::string Bytes(const MemorySink& sink) {
    return std::string(sink.bytes.begin(), sink.bytes.end());
}

}  // namespace

std::string EncodeLh1(const std::string& data) {
    const std::string initial(4096, ' ');
    std::string h = initial + data;
    MemorySink sink;
    BitWriter out(sink);
    AdaptiveHuffman tree;
    std::uint8_t lengths[64];
    for (int i = 0; i < 64; ++i)
        lengths[i] = i < 1 ? 3 : i < 4 ? 4 : i < 12 ? 5 : i < 24 ? 6 : i < 48 ? 7 : 8;
    std::uint16_t codes[64];
    MakeCodes(lengths, 64, codes);
    for (std::size_t at = initial.size(); at < h.size();) {
        Match m = Longest(h, at, 4096, 3, 60);
        int symbol =
            m.length ? static_cast<int>(256 + m.length - 3) : static_cast<unsigned char>(h[at]);
        for (bool bit : tree.Encode(symbol)) out.Put(1, bit);
        if (m.length) {
            std::size_t offset = m.distance - 1;
            out.Put(lengths[offset >> 6], codes[offset >> 6]);
            out.Put(6, offset & 63);
            at += m.length;
        } else {
            ++at;
        }
    }
    out.Finish();
    return Bytes(sink);
}

std::string EncodeLzs(const std::string& data) {
    const std::string initial(2048, ' ');
    std::string h = initial + data;
    MemorySink sink;
    BitWriter out(sink);
    for (std::size_t at = initial.size(); at < h.size();) {
        std::size_t n = at - initial.size();
        Match m = Longest(h, at, 2048, 2, 17);
        if (m.length) {
            out.Put(1, 0);
            out.Put(11, static_cast<std::uint32_t>((n - 17 - m.distance) & 0x7FF));
            out.Put(4, static_cast<std::uint32_t>(m.length - 2));
            at += m.length;
        } else {
            out.Put(1, 1);
            out.Put(8, static_cast<unsigned char>(h[at++]));
        }
    }
    out.Finish();
    return Bytes(sink);
}

std::string EncodeLz5(const std::string& data) {
    // The preset ring as LArc describes it, in ring order: runs of thirteen of every byte value,
    // 0 to 255, 255 down to 0, 128 zeros, blanks. Writing starts 18 bytes before the ring's end.
    std::string ring;
    for (int i = 0; i < 256; ++i) ring += std::string(13, static_cast<char>(i));
    for (int i = 0; i < 256; ++i) ring += static_cast<char>(i);
    for (int i = 255; i >= 0; --i) ring += static_cast<char>(i);
    ring += std::string(128, '\0');
    ring += std::string(4096 - ring.size(), ' ');
    std::string initial = ring.substr(4096 - 18) + ring.substr(0, 4096 - 18);  // oldest byte first
    std::string h = initial + data;
    std::string out;
    std::size_t flagAt = 0;
    int items = 8;
    for (std::size_t at = initial.size(); at < h.size();) {
        if (items == 8) {
            flagAt = out.size();
            out += '\0';
            items = 0;
        }
        std::size_t n = at - initial.size();
        Match m = Longest(h, at, 4096, 3, 18);
        if (m.length) {
            std::size_t pos = (n - 18 - m.distance) & 0xFFF;
            out += static_cast<char>(pos & 0xFF);
            out += static_cast<char>(((pos >> 4) & 0xF0) | (m.length - 3));
            at += m.length;
        } else {
            out[flagAt] = static_cast<char>(out[flagAt] | (1 << items));
            out += h[at++];
        }
        ++items;
    }
    return out;
}

std::string EncodeLh4(const std::string& data) {
    MemorySource in(data.data(), data.size());
    MemorySink sink;
    std::uint16_t crc = 0;
    Encode(Method::kLh4, in, data.size(), sink, ~0ull, crc);
    return Bytes(sink);
}

std::string ArchiveOf(const std::string& method, const std::string& name,
                      const std::string& original, const std::string& packed) {
    Header h;
    h.method = method;
    h.path = name;
    h.originalSize = original.size();
    h.packedSize = packed.size();
    h.mtime = 1700000000;
    h.crc = Crc16(0, original.data(), original.size());
    std::vector<std::uint8_t> bytes = WriteHeader(h);
    return std::string(bytes.begin(), bytes.end()) + packed + std::string(1, '\0');
}

namespace {

std::string Le(std::uint64_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

void Checksum(std::string& header) {
    unsigned sum = 0;
    for (std::size_t i = 2; i < header.size(); ++i) sum += static_cast<unsigned char>(header[i]);
    header[1] = static_cast<char>(sum & 0xFF);
}

// 2023-11-14 12:00:00 local time.
constexpr std::uint32_t kDosTime = (43u << 25) | (11u << 21) | (14u << 16) | (12u << 11);

}  // namespace

std::string Level0Entry(const std::string& method, const std::string& name,
                        const std::string& original, const std::string& packed, int unixMode) {
    std::string h(2, '\0');
    h += method + Le(packed.size(), 4) + Le(original.size(), 4) + Le(kDosTime, 4) + "\x20" +
         std::string(1, '\0');
    h += static_cast<char>(name.size());
    h += name + Le(Crc16(0, original.data(), original.size()), 2);
    if (unixMode >= 0)
        h += std::string("U") + Le(1700000000, 4) + Le(static_cast<std::uint32_t>(unixMode), 2) +
             Le(0, 4);
    h[0] = static_cast<char>(h.size() - 2);
    Checksum(h);
    return h + packed;
}

std::string Level1Entry(const std::string& method, const std::string& name,
                        const std::string& folder, const std::string& original,
                        const std::string& packed) {
    std::string ext;
    if (!folder.empty()) {
        std::string f = folder + "\xFF";
        ext = std::string("\x02") + f + Le(0, 2);
    }
    std::string h(2, '\0');
    h += method + Le(packed.size() + ext.size(), 4) + Le(original.size(), 4) + Le(kDosTime, 4) +
         "\x20\x01";
    h += static_cast<char>(name.size());
    h += name + Le(Crc16(0, original.data(), original.size()), 2) + "M" + Le(ext.size(), 2);
    h[0] = static_cast<char>(h.size() - 2);
    Checksum(h);
    return h + ext + packed;
}

std::string Level3Entry(const std::string& method, const std::string& name,
                        const std::string& original, const std::string& packed) {
    std::string head =
        Le(4, 2) + method + Le(packed.size(), 4) + Le(original.size(), 4) + Le(1700000000, 4);
    head += std::string("\x20\x03") + Le(Crc16(0, original.data(), original.size()), 2) + "U";
    // The common extension with the header's CRC first, as LHa for UNIX writes it (lhasa wants it).
    std::string common = std::string(1, '\0') + Le(0, 2), ext = "\x01" + name;
    std::string tail = Le(common.size() + 4, 4) + common + Le(ext.size() + 4, 4) + ext + Le(0, 4);
    std::string h = head + Le(head.size() + 4 + tail.size(), 4) + tail;
    std::uint16_t crc = Crc16(0, h.data(), h.size());
    h[33] = static_cast<char>(crc & 0xFF);
    h[34] = static_cast<char>(crc >> 8);
    return h + packed;
}

}  // namespace unlha32::test
