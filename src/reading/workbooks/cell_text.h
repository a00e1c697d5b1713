#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tallyvane::cells {

// What a number format shows of a number: the number itself, or a date, a
// time of day, or both.
enum class Shown { Number, Date, Time, DateTime };

// Excel's built-in formats by number (14 is the default date format).
Shown builtInFormat(std::size_t id);
// A custom format code: a date where it has y, d or m, a time where it has
// h or s (m is then minutes), counting only what lies outside quotes,
// brackets ("[Red]", "[$-409]", "[h]") and backslash escapes.
Shown formatCode(std::string_view code);

// A number as its shortest round-trip digits; whole numbers without an
// exponent up to 16 digits, so a phone number stored as a number is its digits.
void appendNumber(std::string& out, double value);

// A spreadsheet serial (days since the epoch of the 1900 or 1904 system)
// as shown, rounded to the second with the carry. False, and nothing
// written, where no date of years 1 to 9999 holds it.
bool appendSerial(std::string& out, double serial, Shown shown, bool system1904);

// An ISO 8601 date or date and time ("2026-12-09", "2026-12-09T13:45:00Z")
// as both programs write dates: "2026-12-09", "2026-12-09 13:45:00". Other
// text is written as it stands.
void appendIsoDate(std::string& out, std::string_view iso);
// An ISO 8601 duration of a time of day ("PT13H45M00S") as "13:45:00".
void appendIsoTime(std::string& out, std::string_view iso);

} // namespace tallyvane::cells
