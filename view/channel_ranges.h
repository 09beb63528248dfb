// Value ranges of a measurement's channels; channels with the same unit share one.
#pragma once

#include <cmath>

#include "measure/channel_extremes.h"
#include "measure/measure.h"

// |z| of a sample. Everything that draws or scales the modulus goes through
// this one expression, so an extreme found by comparing moduleSquared values
// is exactly the extreme of the drawn values.
inline double moduleSquared(const Sample& s) {
    return double(s.re) * double(s.re) + double(s.im) * double(s.im);
}
inline double moduleOf(const Sample& s) {
    return std::sqrt(moduleSquared(s));
}

// Rows the view may read: the sample count, but never past the buffer.
inline int32_t storedRows(const CMeasure& m) {
    return int32_t(m.heldRows());
}

// For every channel: the smallest and largest value over both the real and
// the imaginary parts, and the largest modulus; then every channel takes the
// extremes of all channels whose unit text is the same. NaN samples are
// skipped; a channel without a single number gets 0 .. 0. Does nothing
// without a sample buffer.
void ComputeRanges(const CMeasure& m, float* range_min, float* range_max, float* range_mod);
// The same, taking the extremes from `known` (gathered while the samples were
// read; null or of another channel count: none) where they serve.
void ComputeRanges(const CMeasure& m, const ChannelExtremes* known, float* range_min,
                   float* range_max, float* range_mod);
// The same over the first `rows` rows only (at most the stored ones); `known`
// serves only when they are all of them.
void ComputeRanges(const CMeasure& m, const ChannelExtremes* known, int32_t rows, float* range_min,
                   float* range_max, float* range_mod);
