// Fast, locale-free number text: printf "%e" output and "%f"-style input.
#pragma once

#include <string>

// Writes `value` as printf's "%<width>e" (6 digits after the point) would,
// independent of the locale. Returns the number of characters written;
// `out` must hold at least 32 characters.
int formatE(char* out, double value, int width);
void appendE(std::string& text, double value, int width);

// Converts up to `max` numbers from [begin, end) as successive "%f" conversions
// of sscanf would into 32-bit floats: white space is skipped, a number may
// carry a sign and use decimal or exponent notation, and conversion stops at
// the first text that is not a number. Returns how many were converted.
int parseFloats(const char* begin, const char* end, float* out, int max);

// The value strtod and strtof give a number text [begin, end) that
// std::from_chars finds out of range: infinity when too large, a denormal or
// zero when too small, signed as the text is. Locale-free, unlike strtod.
void outOfRangeValue(const char* begin, const char* end, float& value);
void outOfRangeValue(const char* begin, const char* end, double& value);
