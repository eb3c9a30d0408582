// Enciphering and deciphering the transfer work file, block by block.
#include "steps/cipher.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "steps/password.h"

namespace velmo::steps {
namespace {

// Reads and writes go in runs of 256 blocks; the cipher itself still works block by block.
constexpr std::size_t kRun = 256 * kCipherBlock;

// A block back to front. Whole blocks are 125 eight-byte words: the last word byte-swapped
// becomes the first, which is several times faster than moving single bytes.
void ReverseBlock(const char* source, char* target, std::size_t n) {
    if (n % 8 != 0) {
        std::reverse_copy(source, source + n, target);
        return;
    }
    for (std::size_t i = 0; i < n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, source + n - 8 - i, 8);
        word = __builtin_bswap64(word);
        std::memcpy(target + i, &word, 8);
    }
}

// Fills `buffer` as far as the file allows; the bytes read, or -1 on an error.
std::ptrdiff_t ReadFull(platform::File& file, char* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        std::ptrdiff_t n = file.Read(buffer + got, size - got);
        if (n < 0) return -1;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<std::ptrdiff_t>(got);
}

// The block loop both directions share (reversing a block undoes itself): each block is
// copied back to front straight into the output run, and the run is written once it is full,
// at the end, or when the progress callback asks to stop.
bool ReverseBlocks(platform::File& in, platform::File& out, std::int64_t& count,
                   const BlockProgress& progress) {
    std::vector<char> source(kRun), target(kRun);
    for (;;) {
        std::ptrdiff_t got = ReadFull(in, source.data(), source.size());
        if (got < 0) return false;
        const std::size_t size = static_cast<std::size_t>(got);
        std::size_t done = 0;
        bool goOn = true;
        while (goOn && done < size) {
            std::size_t n = std::min(kCipherBlock, size - done);
            ReverseBlock(source.data() + done, target.data() + done, n);
            done += n;
            count += static_cast<std::int64_t>(n);
            goOn = progress(count);
        }
        if (!out.Write(target.data(), done)) return false;
        if (!goOn) return true;
        if (size < kRun) {
            progress(count);  // the read that found the end, which delivered nothing
            return true;
        }
    }
}

// Opens both files, runs `body`, then closes both; a failed close is an error too.
template <typename Body>
bool WithFiles(std::string_view source, std::string_view destination, Body body) {
    platform::File in, out;
    bool ok = in.Open(source, platform::File::Mode::Read) &&
              out.Open(destination, platform::File::Mode::Write);
    if (ok) ok = body(in, out);
    bool closed = in.Close();
    closed = out.Close() && closed;
    return ok && closed;
}

}  // namespace

bool Encipher(std::string_view archive, std::string_view transfer, std::string_view password,
              std::int64_t& count, const BlockProgress& progress) {
    count = 0;
    const std::string check = ScramblePassword(password);
    if (check.size() > kCipherBlock) return false;
    return WithFiles(archive, transfer, [&](platform::File& in, platform::File& out) {
        std::array<char, kCipherBlock> header{};
        std::copy(check.begin(), check.end(), header.begin());
        if (!out.Write(header.data(), header.size())) return false;
        count += kCipherBlock;
        return ReverseBlocks(in, out, count, progress);
    });
}

bool Decipher(std::string_view transfer, std::string_view archive, std::string& checkText,
              std::int64_t& count, const BlockProgress& progress) {
    count = 0;
    checkText.clear();
    return WithFiles(transfer, archive, [&](platform::File& in, platform::File& out) {
        std::array<char, kCipherBlock> header{};
        std::ptrdiff_t n = ReadFull(in, header.data(), header.size());
        if (n < 0) return false;
        count += n;
        for (std::ptrdiff_t i = 0; i < n; ++i)
            if (header[i] != '\0') checkText += header[i];
        return ReverseBlocks(in, out, count, progress);
    });
}

bool PasswordMatches(std::string_view checkText, std::string_view password) {
    return ScramblePassword(password) == checkText;
}

}  // namespace velmo::steps
