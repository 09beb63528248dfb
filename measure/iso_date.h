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
