// The keyless "$$" password encoding: stored passwords and the transfer file's check text.
#pragma once

#include <string>
#include <string_view>

namespace velmo::steps {

std::string ScramblePassword(std::string_view plain);
// Text not starting with "$$" is taken as a password stored in plain and returned unchanged.
// The result may end in the zero pad byte of an odd length: see PasswordField.
std::string UnscramblePassword(std::string_view text);
// A password as its edit field holds it: up to its first zero byte, and no more than the
// field's 40 bytes (never half a double-byte character), so that its check text always fits
// the transfer file's header on both sides.
std::string PasswordField(std::string_view unscrambled);

inline constexpr std::size_t kPasswordFieldBytes = 40;

}  // namespace velmo::steps
