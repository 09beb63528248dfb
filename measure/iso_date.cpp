#include "measure/iso_date.h"

#include <charconv>
#include <cstdio>

#include "measure/measure.h"

namespace {

// Exactly `count` digits.
bool readDigits(const char*& p, const char* end, int count, int& value) {
    if (end - p < count) return false;
    value = 0;
    for (const char* stop = p + count; p < stop; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + (*p - '0');
    }
    return true;
}

bool skip(const char*& p, const char* end, char c) {
    if (p == end || *p != c) return false;
    ++p;
    return true;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// Days from 1970-01-01 to a date of the Gregorian calendar (years from 0).
int64_t daysFromCivil(int year, int month, int day) {
    const int64_t y = year - (month <= 2);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// ".010000" into `out`; nothing there is no fraction.
bool readFraction(const char*& p, const char* end, IsoDateTime& out) {
    if (p == end || (*p != '.' && *p != ',')) return true;
    char text[24] = "0.";
    int n = 0;
    for (++p; p < end && *p >= '0' && *p <= '9'; ++p) {
        // Nanoseconds are the finest any clock writes.
        if (n == 18) return false;
        text[2 + n++] = *p;
    }
    out.decimals = n;
    return n > 0 && std::from_chars(text, text + 2 + n, out.fraction).ec == std::errc();
}

// "Z", "+01:00" or "-0530" in seconds east of UTC; nothing is UTC too.
bool readOffset(const char*& p, const char* end, int& seconds) {
    seconds = 0;
    if (p == end || skip(p, end, 'Z')) return true;
    if (*p != '+' && *p != '-') return false;
    const int sign = *p++ == '-' ? -1 : 1;
    int hours, minutes = 0;
    if (!readDigits(p, end, 2, hours)) return false;
    if (p < end) {
        skip(p, end, ':');
        if (!readDigits(p, end, 2, minutes)) return false;
    }
    seconds = sign * (hours * 3600 + minutes * 60);
    return hours <= 23 && minutes <= 59;
}

} // namespace

uint32_t parseIsoDate(const std::string& text) {
    int y, mo, d, h, mi, s = 0;
    char sep;
    int n = std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d", &y, &mo, &d, &sep, &h, &mi, &s);
    if (n < 6 || (sep != 'T' && sep != ' ') || y < 1980 || y > 2107 || mo < 1 || mo > 12 || d < 1 ||
        d > 31 || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0)
        return 0;
    return packDosDate(y, mo, d, h, mi, s);
}

std::string isoDateText(uint32_t date) {
    if (!date) return std::string();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", int(date >> 25) + 1980,
                  int(date >> 21 & 0xF), int(date >> 16 & 0x1F), int(date >> 11 & 0x1F),
                  int(date >> 5 & 0x3F), int(date & 0x1F) * 2);
    return text;
}

bool parseIsoDateTime(const char* begin, const char* end, IsoDateTime& out) {
    out = IsoDateTime();
    const char* p = begin;
    int y, mo, d, h, mi, s = 0, offset;
    if (!readDigits(p, end, 4, y) || !skip(p, end, '-') || !readDigits(p, end, 2, mo) ||
        !skip(p, end, '-') || !readDigits(p, end, 2, d))
        return false;
    if (!skip(p, end, 'T') && !skip(p, end, ' ')) return false;
    if (!readDigits(p, end, 2, h) || !skip(p, end, ':') || !readDigits(p, end, 2, mi)) return false;
    if (skip(p, end, ':') && (!readDigits(p, end, 2, s) || !readFraction(p, end, out)))
        return false;
    if (!readOffset(p, end, offset) || p != end) return false;
    if (mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || s > 59)
        return false;
    out.second = daysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s - offset;
    if (y >= 1980 && y <= 2107) out.packed = packDosDate(y, mo, d, h, mi, s);
    return true;
}
