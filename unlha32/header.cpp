// LHA entry headers. Levels 0 and 1 keep a short base header with a byte checksum, level 1 adds
// extension headers after it, levels 2 and 3 are one block of extension headers with a CRC.
#include "unlha32/header.h"

#include <algorithm>

#include "unlha32/crc16.h"
#include "unlha32/errors.h"
#include "unlha32/names.h"

namespace unlha32 {
namespace {

constexpr std::uint64_t kMaxHeader = 1 << 20;

std::uint32_t Get16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Get32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t Get64(const std::uint8_t* p) {
    return Get32(p) | (static_cast<std::uint64_t>(Get32(p + 4)) << 32);
}

[[noreturn]] void Broken() { throw Failure(kHeaderBroken, "broken header"); }

void ReadExactly(os::File& file, std::uint64_t offset, std::uint8_t* buffer, std::size_t size) {
    if (!file.Seek(offset)) throw Failure(kNotArchive, "cannot read");
    std::size_t got = 0;
    while (got < size) {
        std::ptrdiff_t n = file.Read(buffer + got, size - got);
        if (n < 0) throw Failure(kNotArchive, "cannot read");
        if (n == 0) Broken();
        got += static_cast<std::size_t>(n);
    }
}

// Names as stored: parts separated by "\", "/" or 0xFF, which all become "\".
std::string StoredName(const std::uint8_t* p, std::size_t n) {
    std::string name(reinterpret_cast<const char*>(p), n);
    for (std::size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(c) && i + 1 < name.size()) {
            ++i;
        } else if (c == 0xFF || c == '/') {
            name[i] = '\\';
        }
    }
    return name;
}

struct Extensions {
    std::string fileName, folderName;
    bool hasFileName = false;
    std::int64_t windowsMtime = 0;
    bool hasWindowsTime = false;
    std::uint64_t bigPacked = 0, bigOriginal = 0;
    bool hasBigSizes = false;
    std::size_t crcAt = 0;  // where the header CRC sits in the collected bytes, 0 for none
    std::uint16_t headerCrc = 0;
};

void ReadExtension(const std::uint8_t* p, std::size_t n, std::size_t at, Header& h, Extensions& x) {
    if (n == 0) return;
    std::uint8_t type = p[0];
    const std::uint8_t* d = p + 1;
    std::size_t len = n - 1;
    switch (type) {
        case 0x00:
            if (len >= 2) {
                x.crcAt = at + 1;
                x.headerCrc = static_cast<std::uint16_t>(Get16(d));
            }
            break;
        case 0x01:
            x.fileName = StoredName(d, len);
            x.hasFileName = true;
            break;
        case 0x02:
            x.folderName = StoredName(d, len);
            break;
        case 0x40:
            if (len >= 2) h.attributes = static_cast<std::uint8_t>(d[0]);
            break;
        case 0x41:
            if (len >= 16) {
                std::int64_t ft = static_cast<std::int64_t>(Get64(d + 8));
                x.windowsMtime = (ft - 116444736000000000LL) / 10000000;
                x.hasWindowsTime = ft != 0;
            }
            break;
        case 0x42:
            if (len >= 16) {
                x.bigPacked = Get64(d);
                x.bigOriginal = Get64(d + 8);
                x.hasBigSizes = true;
            }
            break;
        case 0x50:
            if (len >= 2) {
                h.unixMode = static_cast<std::uint16_t>(Get16(d));
                h.hasUnixMode = true;
            }
            break;
        case 0x54:
            if (len >= 4) h.mtime = static_cast<std::int64_t>(Get32(d));
            break;
        default:
            break;
    }
}

void Finish(Header& h, const Extensions& x, std::string baseName) {
    if (x.hasFileName) baseName = x.fileName;
    std::string path = x.folderName;
    if (!baseName.empty()) path = JoinPath(path, baseName);
    while (EndsWithSeparator(path)) path.pop_back();
    h.path = path;
    if (x.hasWindowsTime) h.mtime = x.windowsMtime;
    if (x.hasBigSizes) {
        h.packedSize = x.bigPacked;
        h.originalSize = x.bigOriginal;
    }
    // LHa for UNIX keeps a link as "name|target" in a folder entry.
    if (h.isSymbolicLink()) {
        std::size_t bar = h.path.find('|');
        if (bar != std::string::npos) h.path.resize(bar);
    }
}

void CheckHeaderCrc(std::vector<std::uint8_t>& raw, const Extensions& x) {
    if (!x.crcAt || x.crcAt + 2 > raw.size()) return;
    raw[x.crcAt] = raw[x.crcAt + 1] = 0;
    if (Crc16(0, raw.data(), raw.size()) != x.headerCrc)
        throw Failure(kHeaderCrc, "header CRC error");
}

}  // namespace

bool ReadHeader(os::File& file, std::uint64_t offset, std::uint64_t fileSize, Header& h) {
    if (offset >= fileSize) return false;
    std::uint8_t first = 0;
    ReadExactly(file, offset, &first, 1);
    if (first == 0) return false;
    if (fileSize - offset < 22) Broken();
    std::uint8_t base[26] = {};
    ReadExactly(file, offset, base,
                static_cast<std::size_t>(std::min<std::uint64_t>(26, fileSize - offset)));
    if (base[2] != '-' || base[6] != '-') throw Failure(kNotArchive, "not an LHA header");

    h = Header();
    h.headerOffset = offset;
    h.method.assign(reinterpret_cast<const char*>(base + 2), 5);
    h.packedSize = Get32(base + 7);
    h.originalSize = Get32(base + 11);
    h.level = base[20];
    Extensions x;

    if (h.level == 0 || h.level == 1) {
        std::size_t size = static_cast<std::size_t>(base[0]) + 2;
        if (size < 24 || offset + size > fileSize) Broken();
        std::vector<std::uint8_t> raw(size);
        ReadExactly(file, offset, raw.data(), size);
        unsigned sum = 0;
        for (std::size_t i = 2; i < size; ++i) sum += raw[i];
        if ((sum & 0xFF) != raw[1]) throw Failure(kHeaderCrc, "header checksum error");
        h.mtime = os::DosTimeToUnix(Get32(raw.data() + 15));
        h.attributes = raw[19];
        std::size_t nameLength = raw[21];
        if (22 + nameLength + 2 > size) Broken();
        std::string name = StoredName(raw.data() + 22, nameLength);
        h.crc = static_cast<std::uint16_t>(Get16(raw.data() + 22 + nameLength));
        std::size_t rest = 22 + nameLength + 2;
        if (rest < size) h.osId = static_cast<char>(raw[rest]);
        if (h.level == 0) {
            // LHa for UNIX's extended area: 'U', time stamp, mode, uid, gid.
            if (h.osId == 'U' && size - rest >= 1 + 4 + 2) {
                h.mtime = Get32(raw.data() + rest + 1);
                h.unixMode = static_cast<std::uint16_t>(Get16(raw.data() + rest + 5));
                h.hasUnixMode = true;
            }
            h.headerSize = size;
            Finish(h, x, name);
            return true;
        }
        if (rest + 3 > size) Broken();
        std::uint64_t next = Get16(raw.data() + size - 2);
        std::uint64_t at = offset + size, extTotal = 0;
        while (next != 0) {
            if (next < 3 || at + next > fileSize || extTotal + next > kMaxHeader) Broken();
            std::vector<std::uint8_t> ext(static_cast<std::size_t>(next));
            ReadExactly(file, at, ext.data(), ext.size());
            std::size_t before = raw.size();
            raw.insert(raw.end(), ext.begin(), ext.end());
            ReadExtension(ext.data(), ext.size() - 2, before, h, x);
            at += next;
            extTotal += next;
            next = Get16(ext.data() + ext.size() - 2);
        }
        if (extTotal > h.packedSize) Broken();
        h.packedSize -= extTotal;  // the size field of level 1 covers the extension headers too
        h.headerSize = size + extTotal;
        CheckHeaderCrc(raw, x);
        Finish(h, x, name);
        return true;
    }

    if (h.level != 2 && h.level != 3) throw Failure(kHeaderBroken, "unknown header level");
    std::size_t sizeBytes = h.level == 2 ? 2 : 4;
    std::uint64_t total = h.level == 2 ? Get16(base) : 0;
    if (h.level == 3) {
        std::uint8_t b[4];
        if (fileSize - offset < 32) Broken();
        ReadExactly(file, offset + 24, b, 4);
        total = Get32(b);
    }
    std::size_t fixed = h.level == 2 ? 26 : 32;
    if (total < fixed || total > kMaxHeader || offset + total > fileSize) Broken();
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(total));
    ReadExactly(file, offset, raw.data(), raw.size());
    h.mtime = static_cast<std::int64_t>(Get32(raw.data() + 15));
    h.crc = static_cast<std::uint16_t>(Get16(raw.data() + 21));
    h.osId = static_cast<char>(raw[23]);
    h.attributes = 0x20;
    std::size_t at = fixed - sizeBytes;
    std::uint64_t next = sizeBytes == 2 ? Get16(raw.data() + at) : Get32(raw.data() + at);
    at = fixed;
    while (next != 0) {
        if (next < 1 + sizeBytes || at + next > raw.size()) Broken();
        ReadExtension(raw.data() + at, static_cast<std::size_t>(next - sizeBytes), at, h, x);
        at += static_cast<std::size_t>(next);
        next = sizeBytes == 2 ? Get16(raw.data() + at - 2) : Get32(raw.data() + at - 4);
    }
    CheckHeaderCrc(raw, x);
    h.headerSize = total;
    Finish(h, x, std::string());
    return true;
}

std::vector<std::uint8_t> WriteHeader(const Header& h) {
    std::vector<std::uint8_t> out;
    auto put8 = [&](unsigned v) { out.push_back(static_cast<std::uint8_t>(v)); };
    auto put16 = [&](std::uint32_t v) {
        put8(v & 0xFF);
        put8((v >> 8) & 0xFF);
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    put16(0);  // total size, filled in below
    out.insert(out.end(), h.method.begin(), h.method.begin() + 5);
    put32(static_cast<std::uint32_t>(h.packedSize));
    put32(static_cast<std::uint32_t>(h.originalSize));
    put32(static_cast<std::uint32_t>(std::clamp<std::int64_t>(h.mtime, 0, 0xFFFFFFFF)));
    put8(0x20);
    put8(2);
    put16(h.crc);
    put8(static_cast<std::uint8_t>(h.osId));

    // Folder part with 0xFF between parts and after the last; the name on its own.
    std::vector<std::string> parts = SplitPath(h.path);
    std::string name, folder;
    if (!h.isFolder() && !parts.empty()) {
        name = parts.back();
        parts.pop_back();
    }
    for (const std::string& part : parts) folder += part + '\xFF';

    auto extension = [&](std::uint8_t type, const std::string& data) {
        put16(static_cast<std::uint32_t>(data.size() + 3));
        put8(type);
        out.insert(out.end(), data.begin(), data.end());
    };
    std::size_t crcAt = out.size() + 3;
    extension(0x00, std::string(2, '\0'));
    if (!h.isFolder()) extension(0x01, name);
    if (!folder.empty()) extension(0x02, folder);
    extension(0x40, std::string{static_cast<char>(h.attributes), '\0'});
    put16(0);
    // A total whose low byte is zero would read as the end of the archive in tools that look at
    // the first byte alone; one byte of padding avoids it.
    if ((out.size() & 0xFF) == 0) put8(0);
    out[0] = static_cast<std::uint8_t>(out.size() & 0xFF);
    out[1] = static_cast<std::uint8_t>(out.size() >> 8);
    std::uint16_t crc = Crc16(0, out.data(), out.size());
    out[crcAt] = static_cast<std::uint8_t>(crc & 0xFF);
    out[crcAt + 1] = static_cast<std::uint8_t>(crc >> 8);
    return out;
}

}  // namespace unlha32
