#include "view/column_reduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "view/channel_ranges.h"
#include "view/view_test_support.h"

using view_test::makeMeasure;

namespace {

std::unique_ptr<CMeasure> randomMeasure(int channels, int rows, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> value(-100.0f, 100.0f);
    return makeMeasure(channels, rows, 1.0, [&](int, int) {
        return Sample{value(rng), value(rng)};
    });
}

} // namespace

// Every sample offset lies in exactly one column, the one its own rounding
// names, whatever the scale, including scales that do not divide evenly.
TEST(ColumnReduction, ColumnsPartitionTheSamplesByTheirRoundedPixel) {
    auto m = randomMeasure(1, 5000, 1);
    for (double p : {1600.0 / 5000.0, 0.001, 1.0 / 3.0, 0.7, 1.0, 2.5, 1000.0 / 4999.0}) {
        ColumnReduction r;
        r.reduce(*m, 0, 5000, p);
        int32_t next = 0;
        int64_t lastX = -1;
        for (const PixelColumn& col : r.columns()) {
            ASSERT_EQ(col.first, next) << p;
            EXPECT_GT(col.x, lastX) << p;
            for (int32_t d = col.first; d <= col.last; ++d)
                ASSERT_EQ(ColumnReduction::columnOf(d, p), col.x) << "p " << p << " d " << d;
            next = col.last + 1;
            lastX = col.x;
        }
        EXPECT_EQ(next, 5000) << p;
    }
}

TEST(ColumnReduction, ExtremesMatchAScanOfEachColumn) {
    const int channels = 5, rows = 3000, s0 = 123, count = 2500;
    auto m = randomMeasure(channels, rows, 2);
    const double p = 0.137;
    ColumnReduction r;
    r.reduce(*m, s0, count, p);
    ASSERT_FALSE(r.columns().empty());
    for (size_t i = 0; i < r.columns().size(); ++i) {
        const PixelColumn& col = r.columns()[i];
        for (int c = 0; c < channels; ++c) {
            float reMin = 1e30f, reMax = -1e30f, imMin = 1e30f, imMax = -1e30f;
            double modMin = 1e300, modMax = -1.0;
            for (int32_t d = col.first; d <= col.last; ++d) {
                const Sample& s = m->at(c, s0 + d);
                reMin = std::min(reMin, s.re);
                reMax = std::max(reMax, s.re);
                imMin = std::min(imMin, s.im);
                imMax = std::max(imMax, s.im);
                modMin = std::min(modMin, moduleOf(s));
                modMax = std::max(modMax, moduleOf(s));
            }
            const ColumnExtremes& e = r.extremes(i, c);
            ASSERT_EQ(e.reMin, reMin);
            ASSERT_EQ(e.reMax, reMax);
            ASSERT_EQ(e.imMin, imMin);
            ASSERT_EQ(e.imMax, imMax);
            // exactly the modulus of the extreme sample, not a near value
            ASSERT_EQ(e.modMin, modMin);
            ASSERT_EQ(e.modMax, modMax);
        }
    }
}

TEST(ColumnReduction, ZoomedInEverySampleIsItsOwnColumn) {
    auto m = randomMeasure(2, 40, 3);
    ColumnReduction r;
    r.reduce(*m, 10, 20, 7.5);
    ASSERT_EQ(r.columns().size(), 20u);
    for (int d = 0; d < 20; ++d) {
        EXPECT_EQ(r.columns()[d].first, d);
        EXPECT_EQ(r.columns()[d].last, d);
        EXPECT_EQ(r.columns()[d].x, int32_t(std::floor(d * 7.5 + 0.5)));
        EXPECT_EQ(r.extremes(d, 1).reMin, m->at(1, 10 + d).re);
    }
}

TEST(ColumnReduction, NothingToReduce) {
    auto m = randomMeasure(1, 10, 4);
    ColumnReduction r;
    r.reduce(*m, 0, 0, 0.5);
    EXPECT_TRUE(r.columns().empty());
    r.reduce(*m, 0, 10, 0.0);
    EXPECT_TRUE(r.columns().empty());
}
