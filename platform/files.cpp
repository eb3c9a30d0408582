// Whole-file helpers shared by both platforms.
#include "platform/files.h"

namespace velmo::platform {

std::optional<std::string> ReadWholeFile(std::string_view path) {
    File file;
    if (!file.Open(path, File::Mode::Read)) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        std::ptrdiff_t n = file.Read(buffer, sizeof buffer);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::optional<std::uint64_t> FileSize(std::string_view path) {
    File file;
    if (!file.Open(path, File::Mode::Read)) return std::nullopt;
    return file.Size();
}

bool WriteWholeFile(std::string_view path, std::string_view bytes) {
    File file;
    if (!file.Open(path, File::Mode::Write)) return false;
    bool written = file.Write(bytes.data(), bytes.size());
    return file.Close() && written;
}

}  // namespace velmo::platform
