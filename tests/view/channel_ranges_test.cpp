#include "view/channel_ranges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "view/view_test_support.h"

using view_test::makeMeasure;

namespace {

struct Ranges {
    float min[MAX_CHANNELS];
    float max[MAX_CHANNELS];
    float mod[MAX_CHANNELS];
};

} // namespace

TEST(ComputeRanges, ChannelsOfOneUnitShareTheirExtremes) {
    const char* units[] = {"m", "m", "cm"};
    // ch 0: re 0..2, im -1; ch 1: re -5 at row 1, im 0; ch 2: re 10..12, im 10
    auto m = makeMeasure(
        3, 3, 10.0,
        [](int c, int j) {
            if (c == 0) return Sample{float(j), -1.0f};
            if (c == 1) return Sample{j == 1 ? -5.0f : 1.0f, 0.0f};
            return Sample{10.0f + j, 10.0f};
        },
        units);
    Ranges r;
    ComputeRanges(*m, r.min, r.max, r.mod);
    // "m": min(-1, -5) = -5, max(2, 1) = 2, largest modulus |-5 + 0i| = 5
    for (int c : {0, 1}) {
        EXPECT_FLOAT_EQ(r.min[c], -5.0f);
        EXPECT_FLOAT_EQ(r.max[c], 2.0f);
        EXPECT_FLOAT_EQ(r.mod[c], 5.0f);
    }
    EXPECT_FLOAT_EQ(r.min[2], 10.0f);
    EXPECT_FLOAT_EQ(r.max[2], 12.0f);
    // |12 + 10i|
    EXPECT_FLOAT_EQ(r.mod[2], std::sqrt(244.0f));
}

TEST(ComputeRanges, UnitsCompareCaseSensitivelyAndModulusUsesBothParts) {
    const char* units[] = {"m", "M"};
    // a 3-4-5 sample in channel 0 gives modulus 5 although neither part is 5
    auto m = makeMeasure(
        2, 2, 1.0,
        [](int c, int j) {
            return c == 0 ? Sample{j ? 3.0f : 0.0f, j ? 4.0f : 0.0f} : Sample{-1.0f, 0.0f};
        },
        units);
    Ranges r;
    ComputeRanges(*m, r.min, r.max, r.mod);
    EXPECT_FLOAT_EQ(r.min[0], 0.0f);
    EXPECT_FLOAT_EQ(r.max[0], 4.0f);
    EXPECT_FLOAT_EQ(r.mod[0], 5.0f);
    // the imaginary part 0 counts too
    EXPECT_FLOAT_EQ(r.min[1], -1.0f);
    EXPECT_FLOAT_EQ(r.max[1], 0.0f);
}

TEST(ComputeRanges, NaNSamplesAreSkippedAndAllNaNGivesZero) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const char* units[] = {"a", "b"};
    auto m = makeMeasure(
        2, 3, 1.0,
        [&](int c, int j) {
            if (c == 1) return Sample{nan, nan};
            return j == 0 ? Sample{nan, 2.0f} : Sample{float(j), 0.0f};
        },
        units);
    Ranges r;
    ComputeRanges(*m, r.min, r.max, r.mod);
    EXPECT_FLOAT_EQ(r.min[0], 0.0f);
    EXPECT_FLOAT_EQ(r.max[0], 2.0f);
    EXPECT_FLOAT_EQ(r.min[1], 0.0f);
    EXPECT_FLOAT_EQ(r.max[1], 0.0f);
}
