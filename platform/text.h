// Conversions between the program's CP932 byte strings and the text the OS speaks.
#pragma once

#include <string>
#include <string_view>

namespace velmo::platform {

// A first byte of a CP932 double-byte character; the byte after it is never a
// separator or any other single-byte character, even when it is 0x5C (a backslash).
constexpr bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
constexpr bool IsLeadByte(char c) { return IsLeadByte(static_cast<unsigned char>(c)); }

// True when the text's last character (not a trail byte) is a backslash.
bool EndsWithBackslash(std::string_view text);
// folder, a backslash and name, without doubling a separator that the folder already ends with.
std::string JoinPath(std::string_view folder, std::string_view name);

// CP932 bytes to UTF-8 and back. Bytes that have no mapping become U+FFFD / "?"
// rather than failing: these are for display and for file names on Linux.
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

#ifdef _WIN32
// CP932 bytes to UTF-16 for the W functions, whatever the system's ANSI code page is.
std::wstring Cp932ToWide(std::string_view cp932);
std::string WideToCp932(std::wstring_view wide);
#endif

}  // namespace velmo::platform
