// Block statistics of one channel: extremes, mean and deviation of the signal,
// and the heights and periods of its waves, found from zero crossings about the
// mean and located to a fraction of a sample by short least-squares fits.
#pragma once

#include "measure/measure.h"

#include <cstdint>

// Request and result bits of computeStatistics.
constexpr uint32_t STAT_SIGNAL = 0x7;    // minimum, maximum, mean: always computed
constexpr uint32_t STAT_DEVIATION = 0x8; // needs at least 2 values
constexpr uint32_t STAT_HEIGHTS = 0x070; // wave heights, needs at least 10 values
constexpr uint32_t STAT_PERIODS = 0x380; // periods, also needs a positive sample rate
constexpr uint32_t STAT_WAVES = STAT_HEIGHTS | STAT_PERIODS; // computed together
constexpr uint32_t STAT_ALL = STAT_SIGNAL | STAT_DEVIATION | STAT_WAVES;

// Fewer values than this leave the wave results uncomputed.
constexpr int32_t STAT_MIN_WAVE_COUNT = 10;

struct SignalStatistics {
    const float* values; // first value of the range, in the analysed channel's run
    int32_t count;       // n, the number of samples
    int64_t stride;      // value i is values[i * stride]
    double sampleRate;   // Hz
    uint32_t valid;      // which results below hold computed values
    double minimum;
    double maximum;
    double mean;
    double deviation; // divisor n
    double heightMin;
    double heightMax;
    double heightMean;
    double periodMin; // seconds
    double periodMax;
    double periodMean;
    int32_t heightCount;
    int32_t periodCount;
};

// Fills the results of `stats` as far as its count and `request` allow and sets
// `valid`. Results not computed are left at 0. Without values, with a count
// below 1 or a stride below 1 nothing is computed and `valid` is 0; without a
// positive, finite sample rate the heights are, but the periods are not (they
// stay 0; heights need no time scale).
void computeStatistics(SignalStatistics& stats, uint32_t request);

// Points `stats` at the rows of `block` in `m`, the bounds clamped to the
// measurement and taken in increasing order whichever way the block runs.
// Returns false, leaving `stats` untouched, when the channel does not exist or
// the clamped block holds no sample.
bool prepareStatistics(SignalStatistics& stats, const CMeasure& m, const BlockRange& block);

// The last seven entries of a running series; a slot index stepping past 6
// wraps to 0.
struct StatisticsRing {
    static constexpr int32_t SIZE = 7;

    double slots[SIZE] = {};
    int32_t current = SIZE - 1; // slot of the newest entry
    int32_t entries = 0;        // entries made so far

    void push(double value);
    // The entry `age` places before the newest (0 is the newest), age 0..6.
    double back(int32_t age) const;
    void replaceNewest(double value);
};

// True when the least-squares line through the four newest entries changes
// sign between the second and third newest positions.
bool crossesZero(const StatisticsRing& ring);

// The least-squares parabola through the entries 5, 4, 3 and 2 places before
// the newest, placed at -1, 0, 1, 2, evaluated at `t`.
double quadraticValue(const StatisticsRing& ring, double t);
