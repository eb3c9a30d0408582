// The settings-file engine shared by both platforms.
#include "platform/profile.h"

#include <charconv>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace velmo::platform {
namespace {

bool IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// ASCII letters only: the system's profile functions leave full-width letters as they are.
char Folded(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }

struct Line {
    std::string_view text;  // without its line end
    std::size_t begin = 0;  // offset of the line in the file
    std::size_t end = 0;    // offset just past its line end
};

std::vector<Line> SplitLines(std::string_view file) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < file.size()) {
        std::size_t nl = file.find('\n', pos);
        std::size_t next = nl == std::string_view::npos ? file.size() : nl + 1;
        std::size_t stop = nl == std::string_view::npos ? file.size() : nl;
        lines.push_back({file.substr(pos, stop - pos), pos, next});
        pos = next;
    }
    return lines;
}

// "[name]" lines: the name runs to the last "]".
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    std::size_t close = line.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view name;
    std::optional<std::string_view> value;
};

KeyLine SplitKey(std::string_view line) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {Trim(line), std::nullopt};
    return {Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

// Where a key stands in a file: the section's first line index and the key's line index.
struct Place {
    std::optional<std::size_t> section;  // index of the "[section]" line
    std::optional<std::size_t> key;      // index of the key line
    std::size_t lastInSection = 0;       // index of the section's last non-blank line
};

Place Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    section = Trim(section);
    key = Trim(key);
    bool inside = section.empty();  // an empty name is the part before the first section
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionName(lines[i].text)) {
            if (inside) break;  // only the first matching section counts
            if (ProfileNamesEqual(*name, section)) {
                inside = true;
                place.section = i;
                place.lastInSection = i;
            }
            continue;
        }
        if (!inside || Trim(lines[i].text).empty()) continue;
        place.lastInSection = i;
        if (!place.key && ProfileNamesEqual(SplitKey(lines[i].text).name, key)) place.key = i;
    }
    return place;
}

// Cut to at most kMaxValue bytes, never inside a double-byte character.
std::string Truncated(std::string_view value) {
    if (value.size() <= ProfileFile::kMaxValue) return std::string(value);
    std::size_t i = 0;
    while (i < value.size()) {
        std::size_t step = IsLeadByte(value[i]) && i + 1 < value.size() ? 2 : 1;
        if (i + step > ProfileFile::kMaxValue) break;
        i += step;
    }
    return std::string(value.substr(0, i));
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
    // Byte-wise is safe for CP932: a trail byte that looks like a letter sits after the same
    // lead byte on both sides, and folding it maps a pair onto a pair only when both fold.
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (Folded(a[i]) != Folded(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> ProfileFile::Find(std::string_view section, std::string_view key) const {
    auto file = ReadWholeFile(path_);
    if (!file) return std::nullopt;
    std::vector<Line> lines = SplitLines(*file);
    Place place = Locate(lines, section, key);
    if (!place.key) return std::nullopt;
    auto value = SplitKey(lines[*place.key].text).value;
    if (!value) return std::nullopt;
    std::string_view v = *value;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return Truncated(v);
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
    if (auto value = Find(section, key)) return *value;
    return Truncated(fallback);
}

long ProfileFile::ReadInteger(std::string_view section, std::string_view key, long fallback) const {
    auto value = Find(section, key);
    if (!value || value->empty()) return fallback;
    std::string_view text = *value;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("$")) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    long number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return fallback;
    return negative ? -number : number;
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value))
        return false;
    std::string file;
    if (FileExists(path_)) {
        auto bytes = ReadWholeFile(path_);
        if (!bytes) return false;
        file = std::move(*bytes);
    }
    std::vector<Line> lines = SplitLines(file);
    Place place = Locate(lines, section, key);
    std::string updated;
    if (place.key) {
        const Line& line = lines[*place.key];
        std::string_view name = SplitKey(line.text).name;
        bool cr = !line.text.empty() && line.text.back() == '\r';
        bool lf = line.end > line.begin + line.text.size();
        updated = file.substr(0, line.begin);
        updated.append(name).append("=").append(value);
        if (cr) updated += '\r';
        if (lf) updated += '\n';
        updated.append(file, line.end, std::string::npos);
    } else if (place.section) {
        // After the section's last line that is not blank.
        std::size_t at = lines[place.lastInSection].end;
        updated = file.substr(0, at);
        if (updated.back() != '\n') updated += "\r\n";
        updated.append(key).append("=").append(value).append("\r\n");
        updated.append(file, at, std::string::npos);
    } else {
        updated = file;
        if (!updated.empty() && updated.back() != '\n') updated += "\r\n";
        if (!updated.empty()) updated += "\r\n";
        updated.append("[").append(section).append("]\r\n");
        updated.append(key).append("=").append(value).append("\r\n");
    }
    return WriteWholeFile(path_, updated);
}

bool ProfileFile::WriteInteger(std::string_view section, std::string_view key, long value) {
    return WriteString(section, key, std::to_string(value));
}

bool ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

}  // namespace velmo::platform
