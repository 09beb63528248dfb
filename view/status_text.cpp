#include "view/status_text.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::string format(const char* pattern, ...) {
    char buffer[160];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

} // namespace

std::string PointerReadoutText(int32_t channel, const ValuePoint& value, const char* xUnit,
                               const char* yUnit) {
    std::string text = format("ch=%d  x=%6.4f", channel, value.x);
    if (*xUnit) text += std::string(" ") + xUnit;
    text += format("  y=%6.4f", value.y);
    if (*yUnit) text += std::string(" ") + yUnit;
    return text;
}

std::string BlockInfoText(const BlockRange& block, double rate) {
    // A measurement without a rate (the transform of an empty block) has no
    // times to show; "nan" would be all the parentheses said.
    if (!(rate > 0)) {
        if (block.from == block.to) return format("%d: %d", block.channel, block.to);
        return format("%d: %d-%d", block.channel, block.from, block.to);
    }
    if (block.from == block.to)
        return format("%d: %d (%6.4f)", block.channel, block.to, block.to / rate);
    double d = (block.to - block.from) / rate;
    return format("%d: %d-%d (%6.4f, %6.4f)", block.channel, block.from, block.to, d, 1.0 / d);
}
