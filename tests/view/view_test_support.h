// Measurements built in memory for the view's tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "measure/measure.h"

namespace view_test {

// A measurement of `channels` x `rows` samples at `rate`, every sample from
// `value(channel, row)`; all channels in unit "m" unless `units` says otherwise.
inline std::unique_ptr<CMeasure> makeMeasure(int channels, int rows, double rate,
                                             const std::function<Sample(int, int)>& value,
                                             const char* const* units = nullptr) {
    auto m = std::make_unique<CMeasure>();
    m->channelCount = channels;
    m->sampleCount = rows;
    m->sampleRate = rate;
    m->sampleFormat = SAMPLE_FORMAT_COMPLEX;
    if (!m->allocateSamples()) return nullptr;
    for (int c = 0; c < channels; ++c) {
        char name[16];
        std::snprintf(name, sizeof name, "ch %d", c);
        setChannelInfo(m->channels[c], 1.0, 0.0, units ? units[c] : "m", name);
    }
    for (int j = 0; j < rows; ++j)
        for (int c = 0; c < channels; ++c)
            m->setSample(c, j, value(c, j));
    return m;
}

inline Sample zero(int, int) {
    return Sample{0.0f, 0.0f};
}

} // namespace view_test
