// LHA entry headers: reading levels 0 to 3, writing level 2.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "unlha32/os.h"

namespace unlha32 {

struct Header {
    std::string method = "-lh5-";
    std::uint64_t packedSize = 0;
    std::uint64_t originalSize = 0;
    std::int64_t mtime = 0;  // seconds since 1970 UTC
    std::uint8_t attributes = 0x20;
    int level = 2;
    std::uint16_t crc = 0;
    bool hasCrc = true;
    char osId = 'M';
    // CP932, "\" between parts; for a folder entry the folder's path without a final "\".
    std::string path;
    bool hasUnixMode = false;
    std::uint16_t unixMode = 0;

    // Where it sits in the archive.
    std::uint64_t headerOffset = 0;
    std::uint64_t headerSize = 0;
    std::uint64_t dataOffset() const { return headerOffset + headerSize; }

    bool isFolder() const { return method == "-lhd-" && !isSymbolicLink(); }
    bool isSymbolicLink() const { return hasUnixMode && (unixMode & 0xF000) == 0xA000; }
};

// Reads the header at `offset`. False at the end of the archive (a zero byte or the end of the
// file); throws Failure(kHeaderBroken / kHeaderCrc / kNotArchive) for anything else that is wrong.
bool ReadHeader(os::File& file, std::uint64_t offset, std::uint64_t fileSize, Header& header);

// The level 2 header bytes of the entry (header CRC included).
std::vector<std::uint8_t> WriteHeader(const Header& header);

}  // namespace unlha32
