// Enciphers (or deciphers) one file into another and prints the throughput.
#include <cstdio>
#include <cstring>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/text.h"
#include "steps/cipher.h"

int main(int argc, char** argv) {
    if (argc != 4 ||
        (std::strcmp(argv[1], "encipher") != 0 && std::strcmp(argv[1], "decipher") != 0)) {
        std::fprintf(stderr, "usage: cipher_bench encipher|decipher SOURCE DESTINATION\n");
        return 64;
    }
    using namespace velmo;
    const std::string source = platform::Utf8ToCp932(argv[2]);
    const std::string destination = platform::Utf8ToCp932(argv[3]);
    std::int64_t count = 0;
    auto progress = [](std::int64_t) { return true; };
    const std::int64_t start = platform::MonotonicMicroseconds();
    std::string check;
    bool ok = std::strcmp(argv[1], "encipher") == 0
                  ? steps::Encipher(source, destination, "benchmark", count, progress)
                  : steps::Decipher(source, destination, check, count, progress);
    const double seconds = (platform::MonotonicMicroseconds() - start) / 1e6;
    if (!ok) {
        std::fprintf(stderr, "cipher_bench: I/O error\n");
        return 1;
    }
    std::printf("%lld bytes in %.3f s: %.1f MB/s\n", static_cast<long long>(count), seconds,
                count / seconds / 1e6);
    return 0;
}
