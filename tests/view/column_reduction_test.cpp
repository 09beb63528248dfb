#include "view/column_reduction.h"

#include <gtest/gtest.h>

#include <random>

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
