// libFuzzer harness: whatever bytes it gets are read as an archive (list and test) and fed to
// every decoder; nothing may crash, hang or read out of bounds.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "unlha32/archive.h"
#include "unlha32/codec.h"
#include "unlha32/command.h"

namespace {

class NullSink : public unlha32::ByteSink {
  public:
    void Write(const std::uint8_t*, std::size_t) override {}
};

const std::string& ScratchFile() {
    static const std::string path = "/tmp/unlha32-fuzz-" + std::to_string(getpid()) + ".lzh";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (std::FILE* f = std::fopen(ScratchFile().c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    for (const char* command : {"T", "V"}) {
        unlha32::Request request =
            unlha32::ParseCommandLine(std::string(command) + " \"" + ScratchFile() + "\"");
        unlha32::Report report;
        unlha32::Run(request, report);
    }
    // The first byte picks a method, the next two an output size; the rest is the stream.
    if (size >= 3) {
        static const unlha32::Method kMethods[] = {unlha32::Method::kLh1, unlha32::Method::kLh4,
                                                   unlha32::Method::kLh5, unlha32::Method::kLh6,
                                                   unlha32::Method::kLh7, unlha32::Method::kLzs,
                                                   unlha32::Method::kLz5};
        unlha32::Method method = kMethods[data[0] % 7];
        std::size_t original = (data[1] | (data[2] << 8)) * 4u;
        unlha32::MemorySource in(data + 3, size - 3);
        NullSink out;
        try {
            unlha32::Decode(method, in, original, out);
        } catch (const unlha32::Failure&) {
        }
    }
    return 0;
}
