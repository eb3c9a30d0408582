// Canonical Huffman codes as LHA uses them: code lengths up to 16 bits, shortest codes first.
#pragma once

#include <cstdint>
#include <vector>

#include "unlha32/streams.h"

namespace unlha32 {

constexpr int kMaxCodeLength = 16;

// Optimal code lengths for the frequencies, none longer than 16 bits, forming a complete code.
// Symbols with frequency 0 get length 0. Returns how many symbols are used; when fewer than two
// are, every length is 0 and the caller writes the one-symbol form instead.
int BuildCodeLengths(const std::uint32_t* freq, int n, std::uint8_t* lengths);

// The canonical code for each symbol from its length.
void MakeCodes(const std::uint8_t* lengths, int n, std::uint16_t* codes);

class HuffmanDecoder {
  public:
    // False when the lengths describe an over-subscribed code. A code that is not complete is
    // accepted; reading one of its missing codes fails then.
    bool Build(const std::uint8_t* lengths, int n, int tableBits);
    // A table of one symbol that takes no bits at all.
    void SetConstant(int symbol);

    // The next symbol, or -1 for a code the table does not have.
    int Decode(BitReader& in) {
        std::uint32_t peek = in.Peek16();
        if (constant_ >= 0) return constant_;
        std::uint16_t e = table_[peek >> (16 - tableBits_)];
        if (e & 31) {
            in.Skip(e & 31);
            return e >> 5;
        }
        return DecodeLong(in, peek);
    }

  private:
    int DecodeLong(BitReader& in, std::uint32_t peek);

    int constant_ = -1;
    int tableBits_ = 0;
    std::vector<std::uint16_t> table_;
    std::uint32_t first_[kMaxCodeLength + 2] = {};
    std::uint32_t count_[kMaxCodeLength + 2] = {};
    std::uint32_t offset_[kMaxCodeLength + 2] = {};
    std::vector<std::uint16_t> sorted_;
};

}  // namespace unlha32
