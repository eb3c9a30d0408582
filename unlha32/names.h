// CP932 path text: separators that are never taken from inside a double-byte character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace unlha32 {

constexpr bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// "\" or "/" outside a double-byte character.
bool EndsWithSeparator(std::string_view path);
std::string JoinPath(std::string_view folder, std::string_view name);
// The parts between separators ("\" or "/"), empty parts dropped.
std::vector<std::string> SplitPath(std::string_view path);
// Every "/" turned into "\" (0x2F is never a trail byte).
std::string WithBackslashes(std::string_view path);
// The name after the last separator.
std::string LastPart(std::string_view path);
// ASCII letters only; double-byte characters are left as they are.
std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
// A wildcard match of "*" and "?" without regard to ASCII case, "?" taking one whole character.
bool MatchPattern(std::string_view pattern, std::string_view name);

}  // namespace unlha32
