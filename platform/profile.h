// The settings-file engine: profile-string reads and writes on INI files, byte-exact CP932.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmo::platform {

// Reads and writes one INI file the way the Windows profile functions do, on both platforms:
// section and key names match without regard to ASCII case (double-byte characters match
// exactly, as with the system's functions), the first matching section and the first matching key
// in it win, blanks around names and values are dropped, a value in matching quotes loses them, and
// a text value is read up to 2047 bytes without splitting a double-byte character. A write changes
// or adds one line and keeps every other line byte for byte; it creates the file, the section or
// the key when missing. New lines end in CR LF. Every call goes to the file itself.
class ProfileFile {
  public:
    static constexpr std::size_t kMaxValue = 2047;

    explicit ProfileFile(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

    // The value, or nullopt when the file, the section or the key is missing (or the key
    // has no "=").
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // Decimal (or "$"/"0x" hexadecimal) with an optional sign; anything else gives fallback.
    long ReadInteger(std::string_view section, std::string_view key, long fallback) const;
    // True when the value reads as a number other than 0.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // False when the file cannot be read or written back, when a name is empty, or when a
    // name or the value holds a line break (it would forge lines of its own).
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, long value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

  private:
    std::string path_;
};

// Name comparison used by the engine: equal without regard to case.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

}  // namespace velmo::platform
