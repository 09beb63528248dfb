// The extremes a plot of each channel is scaled by: the lowest and highest
// of the real and imaginary parts (NaN skipped) and the largest modulus.
// Gathered in pieces, in any order, by whoever touches the samples anyway
// (a reader while it fills the block), and joined.
#pragma once

#include <cstdint>

#include "measure/measure.h"

struct ChannelRange {
    float low; // 0 .. 0 for a channel without a single number
    float high;
    float modulus;
};

// Two lanes per channel, the real and the imaginary parts, so that a row of
// samples is one run of floats for the vector registers. The lanes alone
// settle a channel whose imaginary parts are all zero, the usual case; others
// need a pass that works out each sample's modulus (channelRanges does).
class ChannelExtremes {
  public:
    ChannelExtremes() = default;
    explicit ChannelExtremes(int channels);

    int channels() const { return channels_; }

    // Takes in `count` samples of a block of rows with `channels()` samples
    // each, the first of them at row-major index `first`.
    void add(const Sample* values, int64_t count, int64_t first);
    // The same for samples whose imaginary parts are all +0, given by their
    // real parts alone: `count` floats in the machine's byte order.
    void addRealParts(const unsigned char* floats, int64_t count, int64_t first);
    // The same for `count` values of channel c alone (a real record's column).
    void addColumn(int c, const float* values, int64_t count);
    // Takes in what `other`, of as many channels, has seen.
    void join(const ChannelExtremes& other);

    // Whether every imaginary part of channel c seen so far is 0 (of either sign).
    bool realParts(int c) const { return !imagNonZero_[2 * c + 1]; }
    // Channel c's range, as one pass over its samples in row order gives it
    // (a zero extreme keeps the sign of the first zero met); `firstRow` is
    // its sample in row 0. Only for a channel whose imaginary parts are all 0.
    ChannelRange realRange(int c, const Sample& firstRow) const;

  private:
    void takeSample(int c, const Sample& s);
    void takeGroup(const Sample* rows, int64_t rowCount, int c0);
    void takeReal(int c, float v);
    void takeRealGroup(const unsigned char* rows, int64_t rowCount, int c0);

    int channels_ = 0;
    float low_[2 * MAX_CHANNELS] = {};
    float high_[2 * MAX_CHANNELS] = {};
    uint32_t imagNonZero_[2 * MAX_CHANNELS] = {}; // kept for the real lanes too: one loop for all
};

// The ranges of every channel of `m` over its first `rows` rows into `out`,
// as one pass over the rows in order gives them: each sample's real part,
// then its imaginary part, compared with the extremes so far (a zero extreme
// keeps the sign of the first zero met), and its modulus in double precision.
// Taken from `known`, gathered while the samples were filled, where it
// serves; otherwise from a pass over the block, on two threads for a large
// one, with the modulus itself only where an imaginary part is not 0.
void channelRanges(const CMeasure& m, int32_t rows, const ChannelExtremes* known,
                   ChannelRange* out);
