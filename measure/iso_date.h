// Dates as ISO 8601 text ("2026-03-14T09:26:52"), how the table and array
// file types carry the measurement's packed date.
#pragma once

#include <cstdint>
#include <string>

// The packed date of "2026-03-14T09:26:52" (or a blank for T; seconds
// optional); 0 for text that is no such date or one the packing cannot hold.
uint32_t parseIsoDate(const std::string& text);

// "2026-03-14T09:26:52" for a packed date; empty for 0 (no date).
std::string isoDateText(uint32_t date);

// A date-time as a table's time column holds it.
struct IsoDateTime {
    int64_t second = 0;  // whole seconds since 1970-01-01 UTC, the offset applied
    double fraction = 0; // of a second, from 0 to below 1
    int decimals = 0;    // digits of the fraction as written
    uint32_t packed = 0; // the date as written (the clock of the place); 0 when
                         // the packing cannot hold its year
};

// "2026-03-04T10:15:00", with a blank for T, seconds optional, a fraction
// after '.' or ',', then optionally "Z" or an offset "+01:00" (or "+0100");
// as pandas writes a DatetimeIndex. False for text that is no such date-time.
bool parseIsoDateTime(const char* begin, const char* end, IsoDateTime& out);
