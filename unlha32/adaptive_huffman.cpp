// lh1's adaptive Huffman tree: nodes kept in ascending frequency, siblings side by side, so that
// the tree stays a Huffman tree as counts grow; counts are halved when the root reaches 0x8000.
#include "unlha32/adaptive_huffman.h"

#include <algorithm>

namespace unlha32 {

AdaptiveHuffman::AdaptiveHuffman() {
    for (int i = 0; i < kSymbols; ++i) {
        freq_[i] = 1;
        child_[i] = i + kNodes;
        parent_[i + kNodes] = i;
    }
    for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
        freq_[j] = freq_[i] + freq_[i + 1];
        child_[j] = i;
        parent_[i] = parent_[i + 1] = j;
    }
    freq_[kNodes] = 0xFFFFFFFF;  // a sentinel that stops the search for a swap partner
    parent_[kRoot] = 0;
}

int AdaptiveHuffman::Decode(BitReader& in) {
    int c = child_[kRoot];
    while (c < kNodes) c = child_[c + static_cast<int>(in.Get(1))];
    c -= kNodes;
    Update(c);
    return c;
}

std::vector<bool> AdaptiveHuffman::Encode(int symbol) {
    std::vector<bool> bits;
    int k = parent_[symbol + kNodes];
    do {
        bits.push_back(k & 1);  // a right child sits at the odd index of its pair
        k = parent_[k];
    } while (k != kRoot);
    std::reverse(bits.begin(), bits.end());
    Update(symbol);
    return bits;
}

void AdaptiveHuffman::Rebuild() {
    // Leaves to the front with halved counts, then internal nodes re-inserted in order.
    int j = 0;
    for (int i = 0; i < kNodes; ++i) {
        if (child_[i] >= kNodes) {
            freq_[j] = (freq_[i] + 1) / 2;
            child_[j] = child_[i];
            ++j;
        }
    }
    for (int i = 0, k = kSymbols; k < kNodes; i += 2, ++k) {
        std::uint32_t f = freq_[i] + freq_[i + 1];
        int at = k - 1;
        while (f < freq_[at]) --at;
        ++at;
        std::move_backward(freq_ + at, freq_ + k, freq_ + k + 1);
        std::move_backward(child_ + at, child_ + k, child_ + k + 1);
        freq_[at] = f;
        child_[at] = i;
    }
    for (int i = 0; i < kNodes; ++i) {
        int k = child_[i];
        if (k >= kNodes) {
            parent_[k] = i;
        } else {
            parent_[k] = parent_[k + 1] = i;
        }
    }
}

void AdaptiveHuffman::Update(int symbol) {
    if (freq_[kRoot] == kMaxFreq) Rebuild();
    int c = parent_[symbol + kNodes];
    do {
        std::uint32_t k = ++freq_[c];
        int l = c + 1;
        if (k > freq_[l]) {
            while (k > freq_[++l]) {
            }
            --l;
            freq_[c] = freq_[l];
            freq_[l] = k;
            int i = child_[c];
            parent_[i] = l;
            if (i < kNodes) parent_[i + 1] = l;
            int j = child_[l];
            child_[l] = i;
            parent_[j] = c;
            if (j < kNodes) parent_[j + 1] = c;
            child_[c] = j;
            c = l;
        }
        c = parent_[c];
    } while (c != 0);
}

}  // namespace unlha32
