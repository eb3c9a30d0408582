// Writes the fuzzer's seed archives: one small entry per method and header level.
#include <fstream>
#include <string>

#include "tests/unlha32/test_encoders.h"

int main(int argc, char** argv) {
    using namespace unlha32::test;
    std::string dir = argc > 1 ? argv[1] : ".";
    std::string text =
        "The quick brown fox jumps over the lazy dog. The quick brown fox jumps again.\n";
    text += text + "    0123456789 0123456789 0123456789\n";
    auto put = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
    };
    put("lh1.lzh", ArchiveOf("-lh1-", "a\\lh1.txt", text, EncodeLh1(text)));
    put("lzs.lzh", ArchiveOf("-lzs-", "lzs.txt", text, EncodeLzs(text)));
    put("lz5.lzh", ArchiveOf("-lz5-", "lz5.txt", text, EncodeLz5(text)));
    put("lh4.lzh", ArchiveOf("-lh4-", "lh4.txt", text, EncodeLh4(text)));
    put("level0.lzh", Level0Entry("-lh0-", "DIR\\ZERO.TXT", text, text) + std::string(1, '\0'));
    put("level1.lzh",
        Level1Entry("-lh4-", "one.txt", "sub", text, EncodeLh4(text)) + std::string(1, '\0'));
    return 0;
}
