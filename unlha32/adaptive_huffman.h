// The adaptive Huffman tree of lh1: 314 symbols whose codes change after every symbol.
#pragma once

#include <cstdint>
#include <vector>

#include "unlha32/streams.h"

namespace unlha32 {

class AdaptiveHuffman {
  public:
    static constexpr int kSymbols = 314;  // 256 bytes and match lengths 3 to 60

    AdaptiveHuffman();
    int Decode(BitReader& in);
    // The bits of the symbol's current code, root first; the tree then adapts as Decode does.
    std::vector<bool> Encode(int symbol);

  private:
    static constexpr int kNodes = kSymbols * 2 - 1;
    static constexpr int kRoot = kNodes - 1;
    static constexpr std::uint32_t kMaxFreq = 0x8000;

    void Update(int symbol);
    void Rebuild();

    std::uint32_t freq_[kNodes + 1];
    int parent_[kNodes + kSymbols];
    int child_[kNodes];
};

}  // namespace unlha32
