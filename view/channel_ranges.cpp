#include "view/channel_ranges.h"

#include <cstring>

namespace {

bool sameUnit(const ChannelInfo& a, const ChannelInfo& b) {
    return std::strncmp(a.unit, b.unit, sizeof a.unit) == 0;
}

void shareWithinUnits(const CMeasure& m, float* range_min, float* range_max, float* range_mod) {
    for (int c = 0; c < m.channelCount; ++c) {
        float low = range_min[c], high = range_max[c], mod = range_mod[c];
        for (int other = 0; other < m.channelCount; ++other) {
            if (!sameUnit(m.channels[c], m.channels[other])) continue;
            if (range_min[other] < low) low = range_min[other];
            if (range_max[other] > high) high = range_max[other];
            if (range_mod[other] > mod) mod = range_mod[other];
        }
        // Later channels of the group compare against these already shared
        // values, which are the group's extremes anyway.
        range_min[c] = low;
        range_max[c] = high;
        range_mod[c] = mod;
    }
}

} // namespace

void ComputeRanges(const CMeasure& m, float* range_min, float* range_max, float* range_mod) {
    ComputeRanges(m, nullptr, range_min, range_max, range_mod);
}

void ComputeRanges(const CMeasure& m, const ChannelExtremes* known, float* range_min,
                   float* range_max, float* range_mod) {
    ComputeRanges(m, known, storedRows(m), range_min, range_max, range_mod);
}

void ComputeRanges(const CMeasure& m, const ChannelExtremes* known, int32_t rows, float* range_min,
                   float* range_max, float* range_mod) {
    if (!m.hasSamples()) return;
    if (m.channelCount < 1 || m.channelCount > MAX_CHANNELS) return;
    const int32_t stored = storedRows(m);
    if (rows < 0 || rows > stored) rows = stored;
    ChannelRange ranges[MAX_CHANNELS];
    channelRanges(m, rows, rows == stored ? known : nullptr, ranges);
    for (int c = 0; c < m.channelCount; ++c) {
        range_min[c] = ranges[c].low;
        range_max[c] = ranges[c].high;
        range_mod[c] = ranges[c].modulus;
    }
    shareWithinUnits(m, range_min, range_max, range_mod);
}
