// Portable CP932 path text helpers.
#include "platform/text.h"

namespace velmo::platform {

bool EndsWithBackslash(std::string_view text) {
    bool last = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(text[i]) && i + 1 < text.size()) {
            ++i;
            last = false;
        } else {
            last = text[i] == '\\';
        }
    }
    return last;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && !EndsWithBackslash(path)) path += '\\';
    path += name;
    return path;
}

}  // namespace velmo::platform
