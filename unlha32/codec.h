// The compression methods this library knows, and its decoders and encoder over byte streams.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "unlha32/streams.h"

namespace unlha32 {

enum class Method { kLh0, kLh1, kLh4, kLh5, kLh6, kLh7, kLzs, kLz4, kLz5, kDirectory, kUnknown };

Method MethodFromId(std::string_view id);  // "-lh5-" and the like
std::string MethodId(Method method);
// Dictionary bits of the static-Huffman methods lh4 to lh7; 0 for the others.
int DictionaryBits(Method method);

struct DecodeResult {
    std::uint16_t crc = 0;
};

// Decodes until `originalSize` bytes have gone to `out` and returns their CRC-16. Throws
// Failure(kDataBroken) on data that cannot be decoded and Failure(kUnsupportedMethod) for a
// method without a decoder. Never reads more than the source gives, never loops without output.
std::uint16_t Decode(Method method, ByteSource& in, std::uint64_t originalSize, ByteSink& out);

// Compresses `in` (exactly `size` bytes) as lh5, lh6 or lh7 into `out`. Returns false, leaving the
// rest unread, as soon as the output would reach `limit` bytes: the caller then stores the data.
// `crc` receives the CRC-16 of the input when the result is true.
bool Encode(Method method, ByteSource& in, std::uint64_t size, ByteSink& out, std::uint64_t limit,
            std::uint16_t& crc);

}  // namespace unlha32
