// Building code lengths from frequencies, canonical codes, and table-driven decoding.
#include "unlha32/huffman.h"

#include <algorithm>
#include <numeric>

namespace unlha32 {

int BuildCodeLengths(const std::uint32_t* freq, int n, std::uint8_t* lengths) {
    std::fill(lengths, lengths + n, 0);
    std::vector<int> used;
    for (int i = 0; i < n; ++i)
        if (freq[i]) used.push_back(i);
    int m = static_cast<int>(used.size());
    if (m < 2) return m;
    // Ascending frequency; ties by symbol so the result does not depend on the sort.
    std::sort(used.begin(), used.end(),
              [&](int a, int b) { return freq[a] != freq[b] ? freq[a] < freq[b] : a < b; });

    // Two-queue Huffman: leaves in order, merged nodes come out in order as well.
    std::vector<std::uint64_t> weight(2 * m);
    std::vector<int> parent(2 * m, -1);
    for (int i = 0; i < m; ++i) weight[i] = freq[used[i]];
    int leaf = 0, node = m, next = m;
    auto take = [&]() {
        if (leaf < m && (node >= next || weight[leaf] <= weight[node])) return leaf++;
        return node++;
    };
    for (; next < 2 * m - 1; ++next) {
        int a = take(), b = take();
        weight[next] = weight[a] + weight[b];
        parent[a] = parent[b] = next;
    }
    std::vector<int> depth(2 * m, 0);
    for (int i = 2 * m - 3; i >= 0; --i) depth[i] = depth[parent[i]] + 1;

    // Count codes per length, folding anything deeper than 16 into 16 and then restoring
    // the Kraft sum by lengthening the deepest shorter codes, one step at a time.
    std::uint32_t perLength[64] = {};
    for (int i = 0; i < m; ++i) ++perLength[std::min(depth[i], 63)];
    for (int l = kMaxCodeLength + 1; l < 64; ++l) {
        perLength[kMaxCodeLength] += perLength[l];
        perLength[l] = 0;
    }
    std::uint64_t kraft = 0;
    for (int l = 1; l <= kMaxCodeLength; ++l)
        kraft += static_cast<std::uint64_t>(perLength[l]) << (kMaxCodeLength - l);
    while (kraft > (1u << kMaxCodeLength)) {
        --perLength[kMaxCodeLength];
        for (int l = kMaxCodeLength - 1; l > 0; --l) {
            if (perLength[l]) {
                --perLength[l];
                perLength[l + 1] += 2;
                break;
            }
        }
        --kraft;
    }
    // Shortest lengths to the most frequent symbols.
    int sym = m - 1;
    for (int l = 1; l <= kMaxCodeLength; ++l)
        for (std::uint32_t k = 0; k < perLength[l]; ++k)
            lengths[used[sym--]] = static_cast<std::uint8_t>(l);
    return m;
}

void MakeCodes(const std::uint8_t* lengths, int n, std::uint16_t* codes) {
    std::uint32_t count[kMaxCodeLength + 1] = {};
    for (int i = 0; i < n; ++i) ++count[lengths[i]];
    count[0] = 0;
    std::uint32_t next[kMaxCodeLength + 2] = {};
    std::uint32_t code = 0;
    for (int l = 1; l <= kMaxCodeLength; ++l) {
        code = (code + count[l - 1]) << 1;
        next[l] = code;
    }
    for (int i = 0; i < n; ++i)
        codes[i] = lengths[i] ? static_cast<std::uint16_t>(next[lengths[i]]++) : 0;
}

bool HuffmanDecoder::Build(const std::uint8_t* lengths, int n, int tableBits) {
    constant_ = -1;
    tableBits_ = tableBits;
    std::fill(std::begin(count_), std::end(count_), 0);
    for (int i = 0; i < n; ++i) {
        if (lengths[i] > kMaxCodeLength) return false;
        ++count_[lengths[i]];
    }
    count_[0] = 0;
    std::uint64_t kraft = 0;
    for (int l = 1; l <= kMaxCodeLength; ++l)
        kraft += static_cast<std::uint64_t>(count_[l]) << (kMaxCodeLength - l);
    if (kraft > (1u << kMaxCodeLength)) return false;

    std::uint32_t code = 0, offset = 0;
    for (int l = 1; l <= kMaxCodeLength; ++l) {
        code = (code + count_[l - 1]) << 1;
        first_[l] = code;
        offset_[l] = offset;
        offset += count_[l];
    }
    sorted_.assign(offset, 0);
    std::uint32_t fill[kMaxCodeLength + 1];
    std::copy(std::begin(offset_), std::begin(offset_) + kMaxCodeLength + 1, fill);
    for (int i = 0; i < n; ++i)
        if (lengths[i]) sorted_[fill[lengths[i]]++] = static_cast<std::uint16_t>(i);

    table_.assign(std::size_t(1) << tableBits, 0);
    for (int l = 1; l <= tableBits; ++l) {
        for (std::uint32_t k = 0; k < count_[l]; ++k) {
            std::uint32_t c = first_[l] + k;
            std::uint16_t entry = static_cast<std::uint16_t>((sorted_[offset_[l] + k] << 5) | l);
            std::uint32_t lo = c << (tableBits - l), hi = (c + 1) << (tableBits - l);
            std::fill(table_.begin() + lo, table_.begin() + hi, entry);
        }
    }
    return true;
}

void HuffmanDecoder::SetConstant(int symbol) { constant_ = symbol; }

int HuffmanDecoder::DecodeLong(BitReader& in, std::uint32_t peek) {
    for (int l = tableBits_ + 1; l <= kMaxCodeLength; ++l) {
        std::uint32_t c = peek >> (16 - l);
        if (c - first_[l] < count_[l] && c >= first_[l]) {
            in.Skip(l);
            return sorted_[offset_[l] + (c - first_[l])];
        }
    }
    return -1;
}

}  // namespace unlha32
