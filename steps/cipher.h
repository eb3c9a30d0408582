// The transfer work file: a 1000-byte header with the password's check text, then the archive
// in 1000-byte blocks, each stored back to front.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace velmo::steps {

inline constexpr std::size_t kCipherBlock = 1000;

// Called after every block with the running count; returning false stops the loop (abort).
using BlockProgress = std::function<bool(std::int64_t count)>;

// Archive -> transfer work file. `count` starts at 0 and ends at the bytes written, header
// included. False on any I/O error (closing included), or when the password's check text
// would not fit the header (a file nobody could verify is never written).
bool Encipher(std::string_view archive, std::string_view transfer, std::string_view password,
              std::int64_t& count, const BlockProgress& progress);

// Transfer work file -> archive. `checkText` receives the header's non-zero bytes in order.
// False on any I/O error. A file shorter than the header gives an empty archive.
bool Decipher(std::string_view transfer, std::string_view archive, std::string& checkText,
              std::int64_t& count, const BlockProgress& progress);

// The receiving side's password test: the stored check text against the password's own.
bool PasswordMatches(std::string_view checkText, std::string_view password);

}  // namespace velmo::steps
