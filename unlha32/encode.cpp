// The lh5/lh6/lh7 encoder: hash-chain match finder with one step of lazy evaluation, and blocks
// of codes each written with Huffman tables built from that block's own frequencies.
#include <algorithm>
#include <cstring>
#include <vector>

#include "unlha32/codec.h"
#include "unlha32/crc16.h"
#include "unlha32/huffman.h"

namespace unlha32 {
namespace {

constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kNC = 510, kNT = 19, kTBit = 5, kCBit = 9;
constexpr std::size_t kBlockSymbols = 0x4000;

struct Tuning {
    int maxChain;    // candidates tried per position
    int goodLength;  // a previous match this long quarters the search at the next position
    int lazyLength;  // a previous match this long is taken without looking one further
    int niceLength;  // a match this long ends the search
    std::uint32_t farThreeLimit;  // three-byte matches further back cost more than literals
};

// Measured on mixed text and binaries (bench/lha): every position is looked at once more before a
// match is taken, and three-byte matches pay off across the whole lh5 window but not much beyond.
Tuning TuningFor(int dictBits) {
    if (dictBits <= 13) return {256, 8, kMaxMatch, kMaxMatch, 1u << 13};
    return {256, 8, kMaxMatch, kMaxMatch, 1u << 14};
}

int BitLength(std::uint32_t v) {
    int n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

class BlockWriter {
  public:
    BlockWriter(int dictBits, BitWriter& out)
        : np_(std::max(dictBits, 13) + 1), pbit_(dictBits <= 13 ? 4 : 5), out_(out) {
        codes_.reserve(kBlockSymbols);
        offsets_.reserve(kBlockSymbols);
    }

    void Literal(std::uint8_t c) {
        codes_.push_back(c);
        ++freqC_[c];
        if (codes_.size() >= kBlockSymbols) Flush();
    }
    void Match(int length, std::uint32_t distance) {
        int c = length - kMinMatch + 256;
        std::uint32_t offset = distance - 1;
        codes_.push_back(static_cast<std::uint16_t>(c));
        offsets_.push_back(offset);
        ++freqC_[c];
        ++freqP_[BitLength(offset)];
        if (codes_.size() >= kBlockSymbols) Flush();
    }

    void Flush() {
        if (codes_.empty()) return;
        std::uint8_t cLen[kNC], pLen[32] = {}, tLen[kNT] = {};
        std::uint16_t cCode[kNC], pCode[32] = {}, tCode[kNT] = {};
        int usedC = BuildCodeLengths(freqC_, kNC, cLen);
        int usedP = BuildCodeLengths(freqP_, np_, pLen);
        MakeCodes(cLen, kNC, cCode);
        MakeCodes(pLen, np_, pCode);

        out_.Put(16, static_cast<std::uint32_t>(codes_.size()));
        if (usedC < 2) {
            out_.Put(kTBit, 0);
            out_.Put(kTBit, 0);
            out_.Put(kCBit, 0);
            out_.Put(kCBit, FirstUsed(freqC_, kNC));
        } else {
            std::uint32_t tFreq[kNT] = {};
            WalkCharLengths(cLen, [&](int t, int, std::uint32_t) { ++tFreq[t]; });
            int usedT = BuildCodeLengths(tFreq, kNT, tLen);
            MakeCodes(tLen, kNT, tCode);
            if (usedT < 2) {
                out_.Put(kTBit, 0);
                out_.Put(kTBit, FirstUsed(tFreq, kNT));
            } else {
                WriteLengths(tLen, kNT, kTBit, 3);
            }
            int n = kNC;
            while (n > 0 && cLen[n - 1] == 0) --n;
            out_.Put(kCBit, static_cast<std::uint32_t>(n));
            WalkCharLengths(cLen, [&](int t, int extraBits, std::uint32_t extra) {
                out_.Put(tLen[t], tCode[t]);
                if (extraBits) out_.Put(extraBits, extra);
            });
        }
        if (usedP < 2) {
            out_.Put(pbit_, 0);
            out_.Put(pbit_, usedP ? FirstUsed(freqP_, np_) : 0);
        } else {
            WriteLengths(pLen, np_, pbit_, -1);
        }

        std::size_t m = 0;
        for (std::uint16_t c : codes_) {
            out_.Put(cLen[c], cCode[c]);
            if (c < 256) continue;
            std::uint32_t offset = offsets_[m++];
            int pc = BitLength(offset);
            out_.Put(pLen[pc], pCode[pc]);
            if (pc > 1) out_.Put(pc - 1, offset & ((1u << (pc - 1)) - 1));
        }
        codes_.clear();
        offsets_.clear();
        std::fill(std::begin(freqC_), std::end(freqC_), 0);
        std::fill(std::begin(freqP_), std::end(freqP_), 0);
    }

  private:
    static std::uint32_t FirstUsed(const std::uint32_t* freq, int n) {
        for (int i = 0; i < n; ++i)
            if (freq[i]) return static_cast<std::uint32_t>(i);
        return 0;
    }

    // The character code lengths as the length code spells them: runs of zeros as symbols 0 to 2
    // (with extra bits), a length k as symbol k + 2. Called for counting and again for writing.
    template <typename Visit>
    static void WalkCharLengths(const std::uint8_t* cLen, Visit visit) {
        int n = kNC;
        while (n > 0 && cLen[n - 1] == 0) --n;
        int i = 0;
        while (i < n) {
            int k = cLen[i++];
            if (k != 0) {
                visit(k + 2, 0, 0);
                continue;
            }
            int count = 1;
            while (i < n && cLen[i] == 0) {
                ++i;
                ++count;
            }
            if (count <= 2) {
                for (int j = 0; j < count; ++j) visit(0, 0, 0);
            } else if (count <= 18) {
                visit(1, 4, static_cast<std::uint32_t>(count - 3));
            } else if (count == 19) {
                visit(0, 0, 0);
                visit(1, 4, 15);
            } else {
                visit(2, kCBit, static_cast<std::uint32_t>(count - 20));
            }
        }
    }

    void WriteLengths(const std::uint8_t* lengths, int nn, int nbit, int special) {
        int n = nn;
        while (n > 0 && lengths[n - 1] == 0) --n;
        out_.Put(nbit, static_cast<std::uint32_t>(n));
        int i = 0;
        while (i < n) {
            int k = lengths[i++];
            if (k <= 6) {
                out_.Put(3, static_cast<std::uint32_t>(k));
            } else {
                out_.Put(k - 3, (1u << (k - 3)) - 2);
            }
            if (i == special) {
                int zeros = 0;
                while (i + zeros < std::min(n, 6) && lengths[i + zeros] == 0) ++zeros;
                out_.Put(2, static_cast<std::uint32_t>(zeros));
                i += zeros;
            }
        }
    }

    int np_, pbit_;
    BitWriter& out_;
    std::vector<std::uint16_t> codes_;
    std::vector<std::uint32_t> offsets_;
    std::uint32_t freqC_[kNC] = {};
    std::uint32_t freqP_[32] = {};
};

class MatchFinder {
  public:
    MatchFinder(int dictBits, ByteSource& in, std::uint64_t size)
        : dict_(std::size_t(1) << dictBits),
          maxDistance_(static_cast<std::uint32_t>(dict_ - 1)),
          hashBits_(dictBits <= 13 ? 14 : 16),
          tuning_(TuningFor(dictBits)),
          in_(in),
          left_(size),
          window_(dict_ + std::max<std::size_t>(dict_, 1 << 16) + 2 * kMaxMatch),
          head_(std::size_t(1) << hashBits_, 0),
          prev_(dict_, 0) {}

    // Runs the whole input through `out`; false when the output reached `limit` first.
    bool Run(BlockWriter& blocks, BitWriter& bits, std::uint64_t limit) {
        std::uint32_t pos = 0;
        int prevLength = 0;
        std::uint32_t prevDistance = 0;
        bool pending = false;
        Fill(pos);
        for (;;) {
            if (end() - pos < static_cast<std::uint32_t>(kMaxMatch + 1) && left_ > 0) {
                Fill(pos);
                if (bits.bytesWritten() >= limit) return false;
            }
            std::uint32_t lookahead = end() - pos;
            if (lookahead == 0 && !pending) break;
            int length = 0;
            std::uint32_t distance = 0;
            if (lookahead >= static_cast<std::uint32_t>(kMinMatch)) {
                std::uint32_t candidate = Insert(pos);
                if (!pending || prevLength < tuning_.lazyLength) {
                    int chain = pending && prevLength >= tuning_.goodLength ? tuning_.maxChain / 4
                                                                            : tuning_.maxChain;
                    length =
                        Longest(candidate, pos,
                                static_cast<int>(std::min<std::uint32_t>(lookahead, kMaxMatch)),
                                chain, distance);
                    if (length == kMinMatch && distance > tuning_.farThreeLimit) length = 0;
                }
            }
            if (pending && prevLength >= kMinMatch && length <= prevLength) {
                blocks.Match(prevLength, prevDistance);
                std::uint32_t stop = pos - 1 + static_cast<std::uint32_t>(prevLength);
                for (std::uint32_t q = pos + 1; q < stop; ++q)
                    if (end() - q >= static_cast<std::uint32_t>(kMinMatch)) Insert(q);
                pos = stop;
                pending = false;
                continue;
            }
            if (pending) blocks.Literal(At(pos - 1));
            if (lookahead == 0) break;
            pending = true;
            prevLength = length;
            prevDistance = distance;
            ++pos;
        }
        return true;
    }

    std::uint16_t crc() const { return crc_; }

  private:
    std::uint32_t end() const { return base_ + static_cast<std::uint32_t>(filled_); }
    std::uint8_t At(std::uint32_t p) const { return window_[p - base_]; }

    void Fill(std::uint32_t pos) {
        if (pos - base_ > dict_) {
            std::size_t shift = pos - base_ - dict_;
            std::memmove(window_.data(), window_.data() + shift, filled_ - shift);
            base_ += static_cast<std::uint32_t>(shift);
            filled_ -= shift;
        }
        while (filled_ < window_.size() && left_ > 0) {
            std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(left_, window_.size() - filled_));
            std::size_t n = in_.Read(window_.data() + filled_, want);
            if (n == 0) throw Failure(kReadError, "file shorter than expected");
            crc_ = Crc16(crc_, window_.data() + filled_, n);
            filled_ += n;
            left_ -= n;
        }
    }

    std::uint32_t Hash(std::uint32_t p) const {
        const std::uint8_t* s = window_.data() + (p - base_);
        std::uint32_t v = s[0] | (s[1] << 8) | (s[2] << 16);
        return (v * 2654435761u) >> (32 - hashBits_);
    }

    // Links the position into its chain; returns the previous head (position + 1, 0 for none).
    std::uint32_t Insert(std::uint32_t p) {
        std::uint32_t h = Hash(p);
        std::uint32_t candidate = head_[h];
        prev_[p & (dict_ - 1)] = candidate;
        head_[h] = p + 1;
        return candidate;
    }

    int Longest(std::uint32_t candidate, std::uint32_t pos, int maxLength, int chain,
                std::uint32_t& distance) {
        const std::uint8_t* cur = window_.data() + (pos - base_);
        int best = kMinMatch - 1;
        while (candidate != 0 && chain-- > 0) {
            std::uint32_t c = candidate - 1;
            if (pos - c > maxDistance_) break;
            const std::uint8_t* m = window_.data() + (c - base_);
            if (m[best] == cur[best] && m[0] == cur[0] && m[1] == cur[1]) {
                int len = 2;
                while (len < maxLength && m[len] == cur[len]) ++len;
                if (len > best) {
                    best = len;
                    distance = pos - c;
                    if (len >= tuning_.niceLength || len >= maxLength) break;
                }
            }
            candidate = prev_[c & (dict_ - 1)];
        }
        return best >= kMinMatch ? best : 0;
    }

    std::size_t dict_;
    std::uint32_t maxDistance_;
    int hashBits_;
    Tuning tuning_;
    ByteSource& in_;
    std::uint64_t left_;
    std::vector<std::uint8_t> window_;
    std::uint32_t base_ = 0;
    std::size_t filled_ = 0;
    std::vector<std::uint32_t> head_, prev_;
    std::uint16_t crc_ = 0;
};

}  // namespace

bool Encode(Method method, ByteSource& in, std::uint64_t size, ByteSink& out, std::uint64_t limit,
            std::uint16_t& crc) {
    int dictBits = DictionaryBits(method);
    if (method != Method::kLh5 && method != Method::kLh6 && method != Method::kLh7 &&
        method != Method::kLh4)
        throw Failure(kUnsupportedMethod, "unsupported method");
    if (size >= 0xFFFFFFFFull - 2 * kMaxMatch) throw Failure(kTooLarge, "file too large");
    BitWriter bits(out);
    BlockWriter blocks(dictBits, bits);
    MatchFinder finder(dictBits, in, size);
    if (!finder.Run(blocks, bits, limit)) return false;
    blocks.Flush();
    bits.Finish();
    if (bits.bytesWritten() >= limit) return false;
    crc = finder.crc();
    return true;
}

}  // namespace unlha32
