#include "reading/workbooks/cell_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace tallyvane::cells {

namespace {

constexpr std::int64_t kSecondsADay = 86400;

Shown shownBy(bool date, bool time) {
    return date && time ? Shown::DateTime : date ? Shown::Date : time ? Shown::Time : Shown::Number;
}

// The civil date of a day count from 1970-01-01 (proleptic Gregorian).
void civilDate(std::int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t ofEra = days - era * 146097;
    const std::int64_t yearOfEra = (ofEra - ofEra / 1460 + ofEra / 36524 - ofEra / 146096) / 365;
    const std::int64_t ofYear = ofEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shifted = (5 * ofYear + 2) / 153;
    day = int(ofYear - (153 * shifted + 2) / 5 + 1);
    month = int(shifted < 10 ? shifted + 3 : shifted - 9);
    year = int(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// The day count from 1970-01-01 of a civil date.
std::int64_t daysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t ofEra = year - era * 400;
    const std::int64_t ofYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t ofCycle = ofEra * 365 + ofEra / 4 - ofEra / 100 + ofYear;
    return era * 146097 + ofCycle - 719468;
}

// 1899-12-30, the day before serial 1 of the 1900 system once past its false leap day.
constexpr std::int64_t kSerialEpoch = -25569;

void appendTime(std::string& out, std::int64_t seconds) {
    char text[32];
    const int size =
        std::snprintf(text, sizeof text, "%02lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                      int(seconds / 60 % 60), int(seconds % 60));
    out.append(text, std::size_t(size));
}

void appendDate(std::string& out, int year, int month, int day) {
    char text[16];
    const int size = std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    out.append(text, std::size_t(size));
}

} // namespace

Shown builtInFormat(std::size_t id) {
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || id == 36 || (id >= 50 && id <= 58))
        return Shown::Date;
    if ((id >= 18 && id <= 21) || (id >= 32 && id <= 35) || (id >= 45 && id <= 47))
        return Shown::Time;
    return id == 22 ? Shown::DateTime : Shown::Number;
}

Shown formatCode(std::string_view code) {
    bool year = false, day = false, month = false, time = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const std::size_t close = code.find('"', i + 1);
            i = close == std::string_view::npos ? code.size() : close;
        } else if (c == '[') {
            const std::size_t close = code.find(']', i + 1);
            i = close == std::string_view::npos ? code.size() : close;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i; // the next character is shown (or spaced, or repeated) as it is
        } else if (c == 'y' || c == 'Y') {
            year = true;
        } else if (c == 'd' || c == 'D') {
            day = true;
        } else if (c == 'm' || c == 'M') {
            month = true;
        } else if (c == 'h' || c == 'H' || c == 's' || c == 'S') {
            time = true;
        }
    }
    return shownBy(year || day || (month && !time), time);
}

void appendNumber(std::string& out, double value) {
    char text[64];
    const bool whole = std::trunc(value) == value && std::fabs(value) < 1e16;
    const auto end = whole
                         ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
                         : std::to_chars(text, text + sizeof text, value);
    out.append(text, end.ptr);
}

bool appendSerial(std::string& out, double serial, Shown shown, bool system1904) {
    // Days from 1899-12-30 (1900 system) or 1904-01-01, to 9999-12-31.
    constexpr double kLastSerial = 2958466.0;
    if (system1904)
        serial += 1462.0;
    if (!std::isfinite(serial) || serial < 0.0 || serial >= kLastSerial)
        return false;
    const auto seconds = static_cast<std::int64_t>(std::llround(serial * double(kSecondsADay)));
    const std::int64_t days = seconds / kSecondsADay;
    const std::int64_t ofDay = seconds % kSecondsADay;
    if (days >= std::int64_t(kLastSerial))
        return false;
    if (shown == Shown::Time && days == 0) {
        appendTime(out, ofDay);
        return true;
    }
    int year = 0, month = 0, day = 0;
    if (!system1904 && days == 60) {
        // The 1900 system counts a 29 February 1900, which never was.
        year = 1900, month = 2, day = 29;
    } else {
        // 1899-12-30 is day -25569 from 1970; before the false leap day, one later.
        civilDate(days + kSerialEpoch + (!system1904 && days < 60 ? 1 : 0), year, month, day);
    }
    appendDate(out, year, month, day);
    if (ofDay != 0 || shown == Shown::DateTime) {
        out.push_back(' ');
        appendTime(out, ofDay);
    }
    return true;
}

void appendIsoDate(std::string& out, std::string_view iso) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, used = 0;
    double second = 0;
    const std::string text(iso);
    if (std::sscanf(text.c_str(), "%d-%d-%d%n", &year, &month, &day, &used) != 3 || year < 1 ||
        month < 1 || month > 12 || day < 1 || day > 31) {
        out.append(iso);
        return;
    }
    if (std::size_t(used) < text.size() && text[std::size_t(used)] == 'T')
        std::sscanf(text.c_str() + used + 1, "%d:%d:%lf", &hour, &minute, &second);
    const std::int64_t seconds = std::int64_t(hour) * 3600 + std::int64_t(minute) * 60 +
                                 static_cast<std::int64_t>(std::llround(second));
    const std::int64_t days = daysFromCivil(year, month, day) + seconds / kSecondsADay;
    const std::int64_t ofDay = seconds % kSecondsADay;
    civilDate(days, year, month, day);
    if (year > 9999) { // as the serial number a date cannot show
        appendNumber(out, double(days - kSerialEpoch) + double(ofDay) / double(kSecondsADay));
        return;
    }
    appendDate(out, year, month, day);
    if (ofDay != 0) {
        out.push_back(' ');
        appendTime(out, ofDay);
    }
}

void appendIsoTime(std::string& out, std::string_view iso) {
    if (!iso.starts_with("PT")) {
        out.append(iso);
        return;
    }
    double seconds = 0;
    const char* p = iso.data() + 2;
    const char* const end = iso.data() + iso.size();
    while (p < end) {
        double amount = 0;
        const auto read = std::from_chars(p, end, amount);
        if (read.ec != std::errc() || read.ptr == end) {
            out.append(iso);
            return;
        }
        const char unit = *read.ptr;
        seconds += amount * (unit == 'H' ? 3600 : unit == 'M' ? 60 : unit == 'S' ? 1 : 0);
        p = read.ptr + 1;
    }
    appendTime(out, static_cast<std::int64_t>(std::llround(seconds)));
}

} // namespace tallyvane::cells
