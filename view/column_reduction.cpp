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

void ColumnReduction::scanColumn(const Sample* rows, int32_t length, ColumnExtremes* out) const {
    const int channels = channelCount_;
    constexpr float inf = std::numeric_limits<float>::infinity();
    float reMin[MAX_CHANNELS], reMax[MAX_CHANNELS], imMin[MAX_CHANNELS], imMax[MAX_CHANNELS];
    double m2Min[MAX_CHANNELS], m2Max[MAX_CHANNELS];
    for (int c = 0; c < channels; ++c) {
        reMin[c] = imMin[c] = inf;
        reMax[c] = imMax[c] = -inf;
        m2Min[c] = std::numeric_limits<double>::infinity();
        m2Max[c] = -1.0;
    }
    for (int32_t r = 0; r < length; ++r) {
        const Sample* row = rows + int64_t(r) * channels;
        for (int c = 0; c < channels; ++c) {
            float re = row[c].re, im = row[c].im;
            double m2 = moduleSquared(row[c]);
            reMin[c] = re < reMin[c] ? re : reMin[c];
            reMax[c] = re > reMax[c] ? re : reMax[c];
            imMin[c] = im < imMin[c] ? im : imMin[c];
            imMax[c] = im > imMax[c] ? im : imMax[c];
            m2Min[c] = m2 < m2Min[c] ? m2 : m2Min[c];
            m2Max[c] = m2 > m2Max[c] ? m2 : m2Max[c];
        }
    }
    for (int c = 0; c < channels; ++c) {
        // A column of NaN only has no extremes; its first sample stands in.
        const Sample& s = rows[c];
        out[c].reMin = reMin[c] <= reMax[c] ? reMin[c] : s.re;
        out[c].reMax = reMin[c] <= reMax[c] ? reMax[c] : s.re;
        out[c].imMin = imMin[c] <= imMax[c] ? imMin[c] : s.im;
        out[c].imMax = imMin[c] <= imMax[c] ? imMax[c] : s.im;
        bool modOk = m2Min[c] <= m2Max[c];
        out[c].modMin = modOk ? std::sqrt(m2Min[c]) : moduleOf(s);
        out[c].modMax = modOk ? std::sqrt(m2Max[c]) : moduleOf(s);
    }
}

void ColumnReduction::reduce(const CMeasure& m, int32_t s0, int32_t count, double p) {
    channelCount_ = m.channelCount;
    columns_.clear();
    extremes_.clear();
    if (count <= 0 || !(p > 0.0) || !m.samples || channelCount_ < 1) return;
    findColumns(count, p);
    extremes_.resize(columns_.size() * size_t(channelCount_));
    const Sample* base = m.samples + int64_t(s0) * channelCount_;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const PixelColumn& column = columns_[i];
        scanColumn(base + int64_t(column.first) * channelCount_, column.last - column.first + 1,
                   &extremes_[i * size_t(channelCount_)]);
    }
}
