// Dates as other tools write them (ISO 8601), for the file types that carry
// the measurement's date as text.
#pragma once

#include <cstdint>
#include <string>

// "2026-03-14T09:26:52" (or with a blank for T; seconds optional) as the
// MS-DOS date-time a measurement keeps; 0 for text that is no such date or
// lies outside 1980..2107.
uint32_t parseIsoDate(const std::string& text);
// The measurement's date as "2026-03-14T09:26:52".
std::string isoDateText(uint32_t date);
