#include "measure/iso_date.h"

#include <cstdio>

#include "measure/measure.h"

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
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", int(date >> 25) + 1980,
                  int(date >> 21 & 0xF), int(date >> 16 & 0x1F), int(date >> 11 & 0x1F),
                  int(date >> 5 & 0x3F), int(date & 0x1F) * 2);
    return text;
}
