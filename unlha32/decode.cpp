// Decoders of every method this library reads: stored, lh1, lh4 to lh7, lzs and lz5.
#include <algorithm>
#include <cstring>
#include <vector>

#include "unlha32/adaptive_huffman.h"
#include "unlha32/codec.h"
#include "unlha32/crc16.h"
#include "unlha32/huffman.h"

namespace unlha32 {

Method MethodFromId(std::string_view id) {
    static const struct {
        const char* id;
        Method method;
    } kMethods[] = {{"-lh0-", Method::kLh0},      {"-lh1-", Method::kLh1}, {"-lh4-", Method::kLh4},
                    {"-lh5-", Method::kLh5},      {"-lh6-", Method::kLh6}, {"-lh7-", Method::kLh7},
                    {"-lzs-", Method::kLzs},      {"-lz4-", Method::kLz4}, {"-lz5-", Method::kLz5},
                    {"-lhd-", Method::kDirectory}};
    for (const auto& m : kMethods)
        if (id == m.id) return m.method;
    return Method::kUnknown;
}

std::string MethodId(Method method) {
    switch (method) {
        case Method::kLh0:
            return "-lh0-";
        case Method::kLh1:
            return "-lh1-";
        case Method::kLh4:
            return "-lh4-";
        case Method::kLh5:
            return "-lh5-";
        case Method::kLh6:
            return "-lh6-";
        case Method::kLh7:
            return "-lh7-";
        case Method::kLzs:
            return "-lzs-";
        case Method::kLz4:
            return "-lz4-";
        case Method::kLz5:
            return "-lz5-";
        case Method::kDirectory:
            return "-lhd-";
        case Method::kUnknown:
            break;
    }
    return "-"
           "??"
           "?-";
}

int DictionaryBits(Method method) {
    switch (method) {
        case Method::kLh4:
            return 12;
        case Method::kLh5:
            return 13;
        case Method::kLh6:
            return 15;
        case Method::kLh7:
            return 16;
        default:
            return 0;
    }
}

namespace {

[[noreturn]] void Broken() { throw Failure(kDataBroken, "broken data"); }

// The sliding dictionary of a decoder: the last `dict` bytes stay in front of the write position
// and the bytes after them are handed to the sink in large pieces. The area before the first byte
// holds what each method's dictionary starts with, so references into it decode as the format says.
class Window {
  public:
    Window(ByteSink& out, std::uint64_t total, std::size_t dict)
        : out_(out),
          left_(total),
          dict_(dict),
          buf_(dict + kChunk + 1024, ' '),
          pos_(dict),
          flushed_(dict) {}

    std::uint8_t* initialDictionary() { return buf_.data(); }
    bool done() const { return left_ == 0; }

    void Literal(std::uint8_t c) {
        buf_[pos_++] = c;
        --left_;
        if (pos_ >= dict_ + kChunk) Flush();
    }

    void Copy(std::size_t distance, std::size_t length) {
        if (distance == 0 || distance > dict_) Broken();
        if (length > left_) length = static_cast<std::size_t>(left_);
        std::uint8_t* dst = buf_.data() + pos_;
        const std::uint8_t* src = dst - distance;
        if (distance >= length) {
            std::memcpy(dst, src, length);
        } else {
            for (std::size_t i = 0; i < length; ++i) dst[i] = src[i];
        }
        pos_ += length;
        left_ -= length;
        if (pos_ >= dict_ + kChunk) Flush();
    }

    std::uint16_t Finish() {
        Flush();
        return crc_;
    }

  private:
    static constexpr std::size_t kChunk = 1 << 16;

    void Flush() {
        std::size_t n = pos_ - flushed_;
        if (n) {
            crc_ = Crc16(crc_, buf_.data() + flushed_, n);
            out_.Write(buf_.data() + flushed_, n);
        }
        std::memmove(buf_.data(), buf_.data() + pos_ - dict_, dict_);
        pos_ = flushed_ = dict_;
    }

    ByteSink& out_;
    std::uint64_t left_;
    std::size_t dict_;
    std::vector<std::uint8_t> buf_;
    std::size_t pos_, flushed_;
    std::uint16_t crc_ = 0;
};

std::uint16_t DecodeStored(ByteSource& in, std::uint64_t size, ByteSink& out) {
    std::vector<std::uint8_t> buffer(1 << 16);
    std::uint16_t crc = 0;
    while (size > 0) {
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, buffer.size()));
        std::size_t n = in.Read(buffer.data(), want);
        if (n == 0) Broken();
        crc = Crc16(crc, buffer.data(), n);
        out.Write(buffer.data(), n);
        size -= n;
    }
    return crc;
}

// lh4 to lh7: blocks of codes, each block with its own three Huffman tables.
class StaticHuffmanDecoder {
  public:
    StaticHuffmanDecoder(int dictBits, BitReader& in, Window& window)
        : np_(std::max(dictBits, 13) + 1),
          pbit_(dictBits <= 13 ? 4 : 5),
          in_(in),
          window_(window) {}  // lh4 shares lh5's offset codes

    void Run() {
        std::uint32_t blockLeft = 0;
        while (!window_.done()) {
            if (blockLeft == 0) {
                blockLeft = in_.Get(16);
                if (blockLeft == 0) blockLeft = 0x10000;  // a count of 0 wraps to a full block
                ReadLengthsCode(kNT, kTBit, 3, t_);
                ReadCharCode();
                ReadLengthsCode(np_, pbit_, -1, p_);
            }
            --blockLeft;
            int c = c_.Decode(in_);
            if (c < 0) Broken();
            if (c < 256) {
                window_.Literal(static_cast<std::uint8_t>(c));
                continue;
            }
            int pc = p_.Decode(in_);
            if (pc < 0) Broken();
            std::size_t offset = pc <= 1 ? pc : (std::size_t(1) << (pc - 1)) + in_.Get(pc - 1);
            window_.Copy(offset + 1, static_cast<std::size_t>(c - 253));
        }
    }

  private:
    static constexpr int kNC = 510, kNT = 19, kTBit = 5, kCBit = 9;

    void ReadLengthsCode(int nn, int nbit, int special, HuffmanDecoder& table) {
        int n = static_cast<int>(in_.Get(nbit));
        if (n == 0) {
            int c = static_cast<int>(in_.Get(nbit));
            if (c >= nn) Broken();
            table.SetConstant(c);
            return;
        }
        if (n > nn) Broken();
        std::uint8_t lengths[32] = {};
        int i = 0;
        while (i < n) {
            int c = static_cast<int>(in_.Get(3));
            if (c == 7) {
                while (in_.Get(1)) {
                    if (++c > kMaxCodeLength) Broken();
                }
            }
            lengths[i++] = static_cast<std::uint8_t>(c);
            if (i == special) {
                int zeros = static_cast<int>(in_.Get(2));
                while (zeros-- > 0 && i < nn) lengths[i++] = 0;
            }
        }
        if (!table.Build(lengths, nn, 8)) Broken();
    }

    void ReadCharCode() {
        int n = static_cast<int>(in_.Get(kCBit));
        if (n == 0) {
            int c = static_cast<int>(in_.Get(kCBit));
            if (c >= kNC) Broken();
            c_.SetConstant(c);
            return;
        }
        if (n > kNC) Broken();
        std::uint8_t lengths[kNC] = {};
        int i = 0;
        while (i < n) {
            int c = t_.Decode(in_);
            if (c < 0) Broken();
            if (c <= 2) {
                int zeros = c == 0   ? 1
                            : c == 1 ? static_cast<int>(in_.Get(4)) + 3
                                     : static_cast<int>(in_.Get(kCBit)) + 20;
                while (zeros-- > 0 && i < kNC) lengths[i++] = 0;
            } else {
                lengths[i++] = static_cast<std::uint8_t>(c - 2);
            }
        }
        if (!c_.Build(lengths, kNC, 12)) Broken();
    }

    int np_, pbit_;
    BitReader& in_;
    Window& window_;
    HuffmanDecoder t_, c_, p_;
};

// lh1: adaptive Huffman for bytes and lengths, a fixed code for the upper six bits of the offset.
void DecodeLh1(BitReader& in, Window& window) {
    AdaptiveHuffman chars;
    std::uint8_t lengths[64];
    for (int i = 0; i < 64; ++i)
        lengths[i] = i < 1 ? 3 : i < 4 ? 4 : i < 12 ? 5 : i < 24 ? 6 : i < 48 ? 7 : 8;
    HuffmanDecoder upper;
    upper.Build(lengths, 64, 8);
    while (!window.done()) {
        int c = chars.Decode(in);
        if (c < 256) {
            window.Literal(static_cast<std::uint8_t>(c));
            continue;
        }
        int hi = upper.Decode(in);
        if (hi < 0) Broken();
        std::size_t offset = (static_cast<std::size_t>(hi) << 6) | in.Get(6);
        window.Copy(offset + 1, static_cast<std::size_t>(c - 253));
    }
}

// lzs: a flag bit, then a byte or an 11-bit dictionary position with a 4-bit length. Positions
// count in a 2 KiB ring whose writing started 17 bytes before its end.
void DecodeLzs(BitReader& in, Window& window, std::uint64_t total) {
    std::uint64_t n = 0;
    while (!window.done()) {
        if (in.Get(1)) {
            window.Literal(static_cast<std::uint8_t>(in.Get(8)));
            ++n;
            continue;
        }
        std::uint32_t position = in.Get(11);
        std::size_t length = in.Get(4) + 2;
        std::size_t distance = ((n - position - 18) & 0x7FF) + 1;
        window.Copy(distance, length);
        n += length;
        if (n > total) n = total;
    }
}

// lz5: eight items per flag byte, low bit first; a match is a 12-bit ring position and a 4-bit
// length. The 4 KiB ring starts filled with runs of every byte value, two ramps, zeros and blanks.
void FillLz5Dictionary(std::uint8_t* dict) {
    for (int i = 0; i < 256; ++i) std::memset(dict + 18 + i * 13, i, 13);
    for (int i = 0; i < 256; ++i) dict[18 + 256 * 13 + i] = static_cast<std::uint8_t>(i);
    for (int i = 0; i < 256; ++i)
        dict[18 + 256 * 13 + 256 + i] = static_cast<std::uint8_t>(255 - i);
    std::memset(dict + 18 + 256 * 13 + 512, 0, 128);
    std::memset(dict + 18 + 256 * 13 + 512 + 128, ' ', 128 - 18);
    std::memset(dict, ' ', 18);
}

void DecodeLz5(BitReader& in, Window& window, std::uint64_t total) {
    std::uint64_t n = 0;
    unsigned flags = 0;
    int flagCount = 0;
    while (!window.done()) {
        if (flagCount == 0) {
            flags = in.Get(8);
            flagCount = 8;
        }
        bool literal = flags & 1;
        flags >>= 1;
        --flagCount;
        if (literal) {
            window.Literal(static_cast<std::uint8_t>(in.Get(8)));
            ++n;
            continue;
        }
        std::uint32_t lo = in.Get(8), hi = in.Get(8);
        std::uint32_t position = lo | ((hi & 0xF0) << 4);
        std::size_t length = (hi & 0x0F) + 3;
        std::size_t distance = ((n - position - 19) & 0xFFF) + 1;
        window.Copy(distance, length);
        n += length;
        if (n > total) n = total;
    }
}

}  // namespace

std::uint16_t Decode(Method method, ByteSource& in, std::uint64_t originalSize, ByteSink& out) {
    switch (method) {
        case Method::kLh0:
        case Method::kLz4:
            return DecodeStored(in, originalSize, out);
        case Method::kDirectory:
            return 0;
        case Method::kUnknown:
            throw Failure(kUnsupportedMethod, "unsupported method");
        default:
            break;
    }
    BitReader bits(in);
    if (method == Method::kLh1) {
        Window window(out, originalSize, 4096);
        DecodeLh1(bits, window);
        return window.Finish();
    }
    if (method == Method::kLzs) {
        Window window(out, originalSize, 2048);
        DecodeLzs(bits, window, originalSize);
        return window.Finish();
    }
    if (method == Method::kLz5) {
        Window window(out, originalSize, 4096);
        FillLz5Dictionary(window.initialDictionary());
        DecodeLz5(bits, window, originalSize);
        return window.Finish();
    }
    int dictBits = DictionaryBits(method);
    Window window(out, originalSize, std::size_t(1) << dictBits);
    StaticHuffmanDecoder decoder(dictBits, bits, window);
    decoder.Run();
    return window.Finish();
}

}  // namespace unlha32
