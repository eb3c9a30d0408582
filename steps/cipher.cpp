// Enciphering and deciphering the transfer work file, block by block.
#include "steps/cipher.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/files.h"
#include "steps/password.h"

namespace velmo::steps {
namespace {

// Reads and writes go through 64 KiB buffers; the cipher still works in 1000-byte blocks.
constexpr std::size_t kBuffer = 64 * 1024;

class BlockReader {
  public:
    explicit BlockReader(platform::File& file) : file_(file), buffer_(kBuffer) {}
    // Up to `size` bytes into out; 0 at the end; -1 on an error.
    std::ptrdiff_t Read(char* out, std::size_t size) {
        std::size_t got = 0;
        while (got < size) {
            if (pos_ == end_) {
                std::ptrdiff_t n = file_.Read(buffer_.data(), buffer_.size());
                if (n < 0) return -1;
                if (n == 0) break;
                pos_ = 0;
                end_ = static_cast<std::size_t>(n);
            }
            std::size_t take = std::min(size - got, end_ - pos_);
            std::copy_n(buffer_.data() + pos_, take, out + got);
            pos_ += take;
            got += take;
        }
        return static_cast<std::ptrdiff_t>(got);
    }

  private:
    platform::File& file_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0, end_ = 0;
};

class BlockWriter {
  public:
    explicit BlockWriter(platform::File& file) : file_(file) { buffer_.reserve(kBuffer); }
    bool Write(const char* data, std::size_t size) {
        if (buffer_.size() + size > kBuffer && !Flush()) return false;
        buffer_.insert(buffer_.end(), data, data + size);
        return true;
    }
    bool Flush() {
        bool ok = file_.Write(buffer_.data(), buffer_.size());
        buffer_.clear();
        return ok;
    }

  private:
    platform::File& file_;
    std::vector<char> buffer_;
};

// The block loop both directions share: reversing a block undoes itself.
bool ReverseBlocks(BlockReader& in, BlockWriter& out, std::int64_t& count,
                   const BlockProgress& progress) {
    std::array<char, kCipherBlock> block;
    for (;;) {
        std::ptrdiff_t n = in.Read(block.data(), block.size());
        if (n < 0) return false;
        std::reverse(block.begin(), block.begin() + n);
        if (!out.Write(block.data(), static_cast<std::size_t>(n))) return false;
        count += n;
        bool goOn = progress(count);
        if (n == 0 || !goOn) return true;
    }
}

// Opens both files, runs `body`, then closes both; a failed close is an error too.
template <typename Body>
bool WithFiles(std::string_view source, std::string_view destination, Body body) {
    platform::File in, out;
    bool ok = in.Open(source, platform::File::Mode::Read) &&
              out.Open(destination, platform::File::Mode::Write);
    if (ok) {
        BlockReader reader(in);
        BlockWriter writer(out);
        ok = body(reader, writer) && writer.Flush();
    }
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
    return WithFiles(archive, transfer, [&](BlockReader& in, BlockWriter& out) {
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
    return WithFiles(transfer, archive, [&](BlockReader& in, BlockWriter& out) {
        std::array<char, kCipherBlock> header{};
        std::ptrdiff_t n = in.Read(header.data(), header.size());
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
