// String functions that never split a CP932 double-byte character, and the small date-text helpers.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmo::controls {

// A text that should have been a number or a date and is not.
class ConvertError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// 1-based byte position of the first occurrence of sub in text that starts and
// ends on character boundaries; 0 when there is none or either text is empty.
std::size_t MbPos(std::string_view sub, std::string_view text);

std::string DeleteDoubleByte(std::string_view text);
// Every double-byte character becomes two spaces, so byte positions stay put.
std::string BlankDoubleByte(std::string_view text);
// Half-width and full-width spaces off the left end when sides holds "L" or "l",
// off the right end when it holds "R" or "r", off both when sides is empty.
std::string TrimSpaces(std::string_view text, std::string_view sides);
// text with sub removed until MbPos no longer finds it.
std::string DeleteAll(std::string_view sub, std::string_view text);
// A plain number from the half-width digits of text: "-" in front when text holds
// one anywhere, the first "." kept; "0" when no digit or point is left.
std::string NumericOnly(std::string_view text);

// Date texts are "yyyy/mm/dd".
// The last day of the month named by the year and month of dateText; the day part
// is not read. Month 0 names December of the year before. Throws ConvertError when
// dateText lacks two "/" or its year or month is no integer or no valid month.
std::string LastDayOfMonth(std::string_view dateText);
// The date year/month/day with the month brought into 1..12 (carrying into the
// year) and a day past the month's end, or below 1, made the month's last day.
// Years outside 1..9999 give the first or last date there is; it never throws.
std::string MakeDate(int year, int month, int day);
// An era date formatted as the last year of Shōwa (昭和64) rewritten as the first
// year of Heisei: 平成01, or 平成1 when pattern has no "ee".
std::string FixEraFirstYear(std::string_view formatted, std::string_view pattern);

}  // namespace velmo::controls
