// Per pixel column, the samples that decide what a one-pixel polyline draws.
//
// Zoomed out, thousands of samples share one pixel column. A polyline through
// all of them covers, in that column, every pixel between the smallest and
// the largest value, and leaves it towards the next column from the last
// sample. So the first, the last, the smallest and the largest sample of the
// column draw exactly the same pixels as all of them, at a fraction of the work.
#pragma once

#include <cstdint>
#include <vector>

#include "measure/measure.h"

struct PixelColumn {
    int32_t x;     // round(d * p) of every sample d in the column
    int32_t first; // first and last sample offset d in the column
    int32_t last;
};

// One channel's extremes in one column. The modulus is compared through
// moduleSquared, so its extremes are moduleOf of the extreme samples.
struct ColumnExtremes {
    float reMin;
    float reMax;
    float imMin;
    float imMax;
    double modMin;
    double modMax;
};

class ColumnReduction {
  public:
    // Groups rows s0 .. s0 + count - 1 of `m` (offset d drawn at round(d * p))
    // into pixel columns and finds every channel's extremes in each.
    // `count` must lie within the stored rows.
    void reduce(const CMeasure& m, int32_t s0, int32_t count, double p);

    const std::vector<PixelColumn>& columns() const { return columns_; }
    const ColumnExtremes& extremes(size_t column, int32_t channel) const {
        return extremes_[column * size_t(channelCount_) + size_t(channel)];
    }

    // round(d * p), the pixel column of sample offset d.
    static int64_t columnOf(int64_t d, double p);

  private:
    void findColumns(int32_t count, double p);
    static ColumnExtremes scanColumn(const ChannelValues& v, int64_t first, int32_t length);

    int32_t channelCount_ = 0;
    std::vector<PixelColumn> columns_;
    std::vector<ColumnExtremes> extremes_;
};
