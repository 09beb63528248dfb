#include "view/channel_ranges.h"

#include <cstring>
#include <limits>

namespace {

// One pass over the rows: samples are stored row by row, so scanning channel
// after channel would read the whole buffer once per channel.
void scanChannels(const CMeasure& m, float* range_min, float* range_max, float* range_mod) {
    const int channels = m.channelCount;
    float low[MAX_CHANNELS], high[MAX_CHANNELS];
    double mod2[MAX_CHANNELS];
    for (int c = 0; c < channels; ++c) {
        low[c] = std::numeric_limits<float>::infinity();
        high[c] = -std::numeric_limits<float>::infinity();
        mod2[c] = 0.0;
    }
    const int32_t rows = storedRows(m);
    for (int32_t j = 0; j < rows; ++j) {
        const Sample* row = m.samples + int64_t(j) * channels;
        // Selects rather than branches, so the compiler can work on several
        // channels at once; a NaN never wins a comparison and is skipped.
        for (int c = 0; c < channels; ++c) {
            float re = row[c].re, im = row[c].im;
            double m2 = moduleSquared(row[c]);
            low[c] = re < low[c] ? re : low[c];
            low[c] = im < low[c] ? im : low[c];
            high[c] = re > high[c] ? re : high[c];
            high[c] = im > high[c] ? im : high[c];
            mod2[c] = m2 > mod2[c] ? m2 : mod2[c];
        }
    }
    for (int c = 0; c < channels; ++c) {
        bool any = low[c] <= high[c];
        range_min[c] = any ? low[c] : 0.0f;
        range_max[c] = any ? high[c] : 0.0f;
        range_mod[c] = float(std::sqrt(mod2[c]));
    }
}

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
    if (m.samples == nullptr) return;
    if (m.channelCount < 1 || m.channelCount > MAX_CHANNELS) return;
    scanChannels(m, range_min, range_max, range_mod);
    shareWithinUnits(m, range_min, range_max, range_mod);
}
