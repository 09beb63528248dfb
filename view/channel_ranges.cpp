#include "view/channel_ranges.h"

#include <cstring>
#include <limits>

namespace {

// One pass over the rows: samples are stored row by row, so scanning channel
// after channel would read the whole buffer once per channel.
void scanChannels(const CMeasure& m, float* range_min, float* range_max, float* range_mod) {
    const int channels = m.channelCount;
    for (int c = 0; c < channels; ++c) {
        range_min[c] = std::numeric_limits<float>::infinity();
        range_max[c] = -std::numeric_limits<float>::infinity();
        range_mod[c] = 0.0f;
    }
    double mod2[MAX_CHANNELS] = {};
    const int32_t rows = storedRows(m);
    for (int32_t j = 0; j < rows; ++j) {
        const Sample* row = m.samples + int64_t(j) * channels;
        for (int c = 0; c < channels; ++c) {
            float re = row[c].re;
            float im = row[c].im;
            if (re < range_min[c]) range_min[c] = re;
            if (im < range_min[c]) range_min[c] = im;
            if (re > range_max[c]) range_max[c] = re;
            if (im > range_max[c]) range_max[c] = im;
            double m2 = moduleSquared(row[c]);
            if (m2 > mod2[c]) mod2[c] = m2;
        }
    }
    for (int c = 0; c < channels; ++c) {
        if (!(range_min[c] <= range_max[c])) range_min[c] = range_max[c] = 0.0f;
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
