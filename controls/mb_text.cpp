// String functions that never split a CP932 double-byte character, and the small date-text helpers.
#include "controls/mb_text.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "platform/text.h"

namespace velmo::controls {
namespace {

enum class ByteClass { single, lead, trail };

// Classes by scanning from the start: whatever byte follows a lead byte is its
// trail byte. A lead byte at the very end stays a lead byte.
std::vector<ByteClass> Classify(std::string_view text) {
    std::vector<ByteClass> classes(text.size(), ByteClass::single);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (platform::IsLeadByte(text[i])) {
            classes[i] = ByteClass::lead;
            if (i + 1 < text.size()) classes[++i] = ByteClass::trail;
        }
    }
    return classes;
}

bool Contains(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

// An optional sign and decimal digits, nothing else.
bool ParseInt(std::string_view text, int& value) {
    const bool plus = !text.empty() && text.front() == '+';
    if (plus) text.remove_prefix(1);
    if (text.empty() || (plus && text.front() == '-')) return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

bool IsLeapYear(long long year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(long long year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::string DateText(long long year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%04lld/%02d/%02d", year, month, day);
    return text;
}

}  // namespace

std::size_t MbPos(std::string_view sub, std::string_view text) {
    if (sub.empty() || text.empty()) return 0;
    const std::vector<ByteClass> textClasses = Classify(text);
    const std::vector<ByteClass> subClasses = Classify(sub);
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(sub, from);
        if (at == std::string_view::npos) return 0;
        if (textClasses[at] == subClasses.front() &&
            textClasses[at + sub.size() - 1] == subClasses.back())
            return at + 1;
        from = at + (textClasses[at] == ByteClass::lead ? 2 : 1);
    }
}

std::string DeleteDoubleByte(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (platform::IsLeadByte(text[i]))
            ++i;  // its trail byte, if the text was not cut before it
        else
            out += text[i];
    }
    return out;
}

std::string BlankDoubleByte(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (!platform::IsLeadByte(out[i])) continue;
        out[i] = ' ';
        // A lead byte cut off at the end gets one space: the length must not change.
        if (i + 1 < out.size()) out[++i] = ' ';
    }
    return out;
}

std::string TrimSpaces(std::string_view text, std::string_view sides) {
    const bool left = sides.empty() || Contains(sides, 'L') || Contains(sides, 'l');
    const bool right = sides.empty() || Contains(sides, 'R') || Contains(sides, 'r');
    const std::vector<ByteClass> classes = Classify(text);
    auto isFullSpaceAt = [&](std::size_t i) {
        return i + 1 < text.size() && text[i] == '\x81' && text[i + 1] == '\x40';
    };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (left && begin < end) {
        if (text[begin] == ' ')
            begin += 1;
        else if (isFullSpaceAt(begin))
            begin += 2;
        else
            break;
    }
    // Judged by byte class, so that the "@" (0x40) after ＝ (0x81 0x81) is no space.
    while (right && begin < end) {
        if (text[end - 1] == ' ' && classes[end - 1] != ByteClass::trail)
            end -= 1;
        else if (classes[end - 1] == ByteClass::trail && isFullSpaceAt(end - 2))
            end -= 2;
        else
            break;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string DeleteAll(std::string_view sub, std::string_view text) {
    std::string out(text);
    for (std::size_t at; (at = MbPos(sub, out)) != 0;) out.erase(at - 1, sub.size());
    return out;
}

std::string NumericOnly(std::string_view text) {
    // Full-width digits and minus signs do not count.
    const std::string blanked = BlankDoubleByte(text);
    std::string out = Contains(blanked, '-') ? "-" : "";
    bool point = false;
    for (char c : blanked) {
        if (c >= '0' && c <= '9') {
            out += c;
        } else if (c == '.' && !point) {
            out += c;
            point = true;
        }
    }
    if (out.empty() || out == "-") return "0";
    return out;
}

std::string LastDayOfMonth(std::string_view dateText) {
    const std::size_t first = dateText.find('/');
    const std::size_t second =
        first == std::string_view::npos ? first : dateText.find('/', first + 1);
    if (second == std::string_view::npos)
        throw ConvertError("'" + std::string(dateText) + "' is not a valid date");
    int year = 0;
    int month = 0;
    if (!ParseInt(dateText.substr(0, first), year) ||
        !ParseInt(dateText.substr(first + 1, second - first - 1), month))
        throw ConvertError("'" + std::string(dateText) + "' is not a valid date");
    // The day before the first of the next month: month 0 is December of the year before.
    if (month == 0) {
        month = 12;
        --year;
    }
    if (month < 1 || month > 12 || year < kFirstYear || year > kLastYear)
        throw ConvertError("'" + std::string(dateText) + "' is not a valid date");
    return DateText(year, month, DaysInMonth(year, month));
}

std::string MakeDate(int year, int month, int day) {
    // Floor division carries any month count into the year in one step.
    long long months = static_cast<long long>(year) * 12 + (static_cast<long long>(month) - 1);
    long long y = months >= 0 ? months / 12 : -((-months + 11) / 12);
    const int m = static_cast<int>(months - y * 12) + 1;
    if (y < kFirstYear) return DateText(kFirstYear, 1, 1);
    if (y > kLastYear) return DateText(kLastYear, 12, 31);
    const int last = DaysInMonth(y, m);
    return DateText(y, m, day < 1 || day > last ? last : day);
}

std::string FixEraFirstYear(std::string_view formatted, std::string_view pattern) {
    const std::size_t showa = MbPos("昭", formatted);
    const std::size_t year64 = MbPos("64", formatted);
    if (showa == 0 || year64 == 0) return std::string(formatted);
    const std::size_t wa = MbPos("和", formatted);
    // The kanji swaps keep the length, so every position found above stays right.
    std::string out(formatted);
    out.replace(showa - 1, 2, "平");
    if (wa != 0) out.replace(wa - 1, 2, "成");
    out.replace(year64 - 1, 2, MbPos("ee", pattern) != 0 ? "01" : "1");
    return out;
}

}  // namespace velmo::controls
