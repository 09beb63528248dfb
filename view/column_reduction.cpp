#include "view/column_reduction.h"

#include <cmath>
#include <limits>

#include "view/channel_ranges.h"

int64_t ColumnReduction::columnOf(int64_t d, double p) {
    return int64_t(std::floor(double(d) * p + 0.5));
}

// The column boundaries come from the same rounding as the drawing, found
// from an estimate and corrected, so no sample lands in a neighbouring column.
void ColumnReduction::findColumns(int32_t count, double p) {
    columns_.clear();
    int32_t d = 0;
    while (d < count) {
        int64_t x = columnOf(d, p);
        int64_t end = int64_t(std::ceil((double(x) + 0.5) / p));
        if (end <= d) end = d + 1;
        if (end > count) end = count;
        while (end > d + 1 && columnOf(end - 1, p) > x)
            --end;
        while (end < count && columnOf(end, p) <= x)
            ++end;
        columns_.push_back(PixelColumn{int32_t(x), d, int32_t(end - 1)});
        d = int32_t(end);
    }
}

// One channel's extremes over `length` rows from `first`.
ColumnExtremes ColumnReduction::scanColumn(const ChannelValues& v, int64_t first, int32_t length) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    float reMin = inf, reMax = -inf, imMin = inf, imMax = -inf;
    double m2Min = std::numeric_limits<double>::infinity(), m2Max = -1.0;
    for (int64_t r = first; r < first + length; ++r) {
        const float re = v[r], im = v.im(r);
        const double m2 = moduleSquared(Sample{re, im});
        reMin = re < reMin ? re : reMin;
        reMax = re > reMax ? re : reMax;
        imMin = im < imMin ? im : imMin;
        imMax = im > imMax ? im : imMax;
        m2Min = m2 < m2Min ? m2 : m2Min;
        m2Max = m2 > m2Max ? m2 : m2Max;
    }
    // A column of NaN only has no extremes; its first sample stands in.
    const Sample s{v[first], v.im(first)};
    ColumnExtremes out;
    out.reMin = reMin <= reMax ? reMin : s.re;
    out.reMax = reMin <= reMax ? reMax : s.re;
    out.imMin = imMin <= imMax ? imMin : s.im;
    out.imMax = imMin <= imMax ? imMax : s.im;
    const bool modOk = m2Min <= m2Max;
    out.modMin = modOk ? std::sqrt(m2Min) : moduleOf(s);
    out.modMax = modOk ? std::sqrt(m2Max) : moduleOf(s);
    return out;
}

void ColumnReduction::reduce(const CMeasure& m, int32_t s0, int32_t count, double p) {
    channelCount_ = m.channelCount;
    columns_.clear();
    extremes_.clear();
    if (count <= 0 || !(p > 0.0) || !m.hasSamples() || channelCount_ < 1) return;
    findColumns(count, p);
    extremes_.resize(columns_.size() * size_t(channelCount_));
    // Channel after channel: a real record's column is read front to back.
    for (int c = 0; c < channelCount_; ++c) {
        const ChannelValues v = m.values(c);
        for (size_t i = 0; i < columns_.size(); ++i) {
            const PixelColumn& column = columns_[i];
            extremes_[i * size_t(channelCount_) + size_t(c)] =
                scanColumn(v, int64_t(s0) + column.first, column.last - column.first + 1);
        }
    }
}
