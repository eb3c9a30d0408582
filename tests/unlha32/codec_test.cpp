// Codecs: CRC-16, code lengths, round trips of every method, and decoders fed with damaged data.
#include "unlha32/codec.h"

#include <gtest/gtest.h>

#include <numeric>

#include "tests/unlha32/test_encoders.h"
#include "tests/unlha32/test_support.h"
#include "unlha32/crc16.h"
#include "unlha32/huffman.h"

namespace unlha32 {
namespace {

using test::Pseudorandom;
using test::SampleText;

std::string DecodeString(Method method, const std::string& packed, std::size_t size,
                         std::uint16_t* crc = nullptr) {
    MemorySource in(packed.data(), packed.size());
    MemorySink out;
    std::uint16_t c = Decode(method, in, size, out);
    if (crc) *crc = c;
    return std::string(out.bytes.begin(), out.bytes.end());
}

std::string EncodeString(Method method, const std::string& data) {
    MemorySource in(data.data(), data.size());
    MemorySink out;
    std::uint16_t crc = 0;
    EXPECT_TRUE(Encode(method, in, data.size(), out, ~0ull, crc));
    EXPECT_EQ(crc, Crc16(0, data.data(), data.size()));
    return std::string(out.bytes.begin(), out.bytes.end());
}

TEST(Crc16, MatchesTheCheckValueAndTheBytewiseForm) {
    EXPECT_EQ(Crc16(0, "123456789", 9), 0xBB3D);
    std::string data = Pseudorandom(1001, 9);
    std::uint16_t whole = Crc16(0, data.data(), data.size());
    std::uint16_t pieces = 0;
    for (char c : data) pieces = Crc16(pieces, &c, 1);
    EXPECT_EQ(whole, pieces);
}

TEST(CodeLengths, StayWithinSixteenBitsAndFormACompleteCode) {
    // Fibonacci frequencies make the plain Huffman tree far deeper than 16.
    std::vector<std::uint32_t> freq(40);
    freq[0] = freq[1] = 1;
    for (std::size_t i = 2; i < freq.size(); ++i) freq[i] = freq[i - 1] + freq[i - 2];
    std::vector<std::uint8_t> lengths(freq.size());
    EXPECT_EQ(BuildCodeLengths(freq.data(), 40, lengths.data()), 40);
    double kraft = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        EXPECT_GE(lengths[i], 1);
        EXPECT_LE(lengths[i], 16);
        kraft += 1.0 / static_cast<double>(1u << lengths[i]);
        if (i > 0) {
            EXPECT_LE(lengths[i], lengths[i - 1]) << "a more frequent symbol got a longer code";
        }
    }
    EXPECT_DOUBLE_EQ(kraft, 1.0);

    std::uint32_t one[3] = {0, 5, 0};
    EXPECT_EQ(BuildCodeLengths(one, 3, lengths.data()), 1);
    EXPECT_EQ(lengths[1], 0) << "a lone symbol is written in the one-symbol form";
}

struct Sample {
    const char* name;
    std::string data;
};

std::vector<Sample> Samples() {
    std::string far;  // repeats just inside the lh7 and lh6 dictionaries
    std::string block = Pseudorandom(40000, 4);
    far = block + Pseudorandom(25000, 5) + block.substr(0, 3000) + Pseudorandom(500, 6) + block;
    std::string allBytes(256 * 3, '\0');
    for (std::size_t i = 0; i < allBytes.size(); ++i) allBytes[i] = static_cast<char>(i * 7);
    return {{"empty", ""},
            {"one byte", "A"},
            {"short", "abcabcabcabc"},
            {"zeros", std::string(300000, '\0')},
            {"text", SampleText(150000)},
            {"random", Pseudorandom(100000, 3)},
            {"far repeats", far},
            {"every byte value", allBytes},
            {"long runs and literals",
             std::string(70000, 'q') + Pseudorandom(200, 8) + std::string(1000, 'r')}};
}

TEST(Codec, EveryWrittenMethodRoundTrips) {
    for (Method method : {Method::kLh4, Method::kLh5, Method::kLh6, Method::kLh7}) {
        for (const Sample& s : Samples()) {
            std::string packed = EncodeString(method, s.data);
            std::uint16_t crc = 0;
            EXPECT_EQ(DecodeString(method, packed, s.data.size(), &crc), s.data)
                << MethodId(method) << " " << s.name;
            EXPECT_EQ(crc, Crc16(0, s.data.data(), s.data.size()));
        }
    }
}

TEST(Codec, ReadOnlyMethodsDecodeWhatTheTestEncodersWrite) {
    std::string data = SampleText(6000) + "    leading blanks come from the preset dictionary" +
                       Pseudorandom(300, 11);
    EXPECT_EQ(DecodeString(Method::kLh1, test::EncodeLh1(data), data.size()), data);
    EXPECT_EQ(DecodeString(Method::kLzs, test::EncodeLzs(data), data.size()), data);
    EXPECT_EQ(DecodeString(Method::kLz5, test::EncodeLz5(data), data.size()), data);
    // lz5 data that refers to the preset ring: runs of one byte value, ramps, zeros.
    std::string preset =
        std::string(13, 'A') + std::string(5, '\0') + "\x01\x02\x03\x04" + "\xFE\xFD\xFC";
    EXPECT_EQ(DecodeString(Method::kLz5, test::EncodeLz5(preset), preset.size()), preset);
    EXPECT_LT(test::EncodeLz5(preset).size(), preset.size());
    // lh1's adaptive tree is rebuilt when its root count reaches 0x8000.
    std::string longer = SampleText(50000) + Pseudorandom(20000, 12);
    EXPECT_EQ(DecodeString(Method::kLh1, test::EncodeLh1(longer), longer.size()), longer);
}

TEST(Codec, EncoderGivesUpWhenStoringIsSmaller) {
    std::string data = Pseudorandom(50000, 10);
    MemorySource in(data.data(), data.size());
    MemorySink out;
    std::uint16_t crc = 0;
    EXPECT_FALSE(Encode(Method::kLh5, in, data.size(), out, data.size(), crc));
}

TEST(Codec, DamagedDataFailsCleanly) {
    // Garbage, truncated and bit-flipped streams: a Failure or wrong output, never a crash or a
    // hang.
    std::string text = SampleText(60000);
    for (Method method : {Method::kLh1, Method::kLh4, Method::kLh5, Method::kLh6, Method::kLh7,
                          Method::kLzs, Method::kLz5, Method::kLh0}) {
        std::string good = method == Method::kLh1   ? test::EncodeLh1(text.substr(0, 8000))
                           : method == Method::kLzs ? test::EncodeLzs(text.substr(0, 8000))
                           : method == Method::kLz5 ? test::EncodeLz5(text.substr(0, 8000))
                           : method == Method::kLh0 ? text
                                                    : EncodeString(method, text);
        std::vector<std::string> damaged = {Pseudorandom(5000, 20), good.substr(0, good.size() / 2),
                                            ""};
        for (std::uint32_t seed = 0; seed < 40; ++seed) {
            std::string flipped = good;
            flipped[(seed * 7919) % flipped.size()] ^= static_cast<char>(1 << (seed % 8));
            damaged.push_back(flipped);
        }
        for (const std::string& d : damaged) {
            try {
                DecodeString(method, d, 60000);
            } catch (const Failure& f) {
                EXPECT_TRUE(f.code() == kDataBroken) << MethodId(method) << " " << f.code();
            }
        }
    }
}

TEST(Codec, BlockCountOfZeroMeansAFullBlock) {
    // A block header of 0 codes wraps to 65536, as the original decoders count; such a block with
    // one constant literal decodes to that many bytes.
    MemorySink sink;
    BitWriter out(sink);
    out.Put(16, 0);
    out.Put(5, 0), out.Put(5, 0);    // length code: constant
    out.Put(9, 0), out.Put(9, 'z');  // character code: constant 'z'
    out.Put(4, 0), out.Put(4, 0);    // offset code: constant
    out.Finish();
    std::string packed(sink.bytes.begin(), sink.bytes.end());
    EXPECT_EQ(DecodeString(Method::kLh5, packed, 65536), std::string(65536, 'z'));
}

}  // namespace
}  // namespace unlha32
