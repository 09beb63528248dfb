#include "view/nice_range.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

// Expected values worked by hand from d = hi - lo, a = 10^floor(log10 d),
// r = d / a, divisor 5 / 2 / 1 for r < 2 / < 4 / else, step = a / divisor.
TEST(NiceRange, ClosedCasesForEachDivisor) {
    // d = 10, a = 10, r = 1: divisor 5, step 2; -4 = 2*floor(-1.5), 8 = 2*(3+1)
    AxisRange r = NiceRange(-3.0, 7.0);
    EXPECT_DOUBLE_EQ(r.step, 2.0);
    EXPECT_DOUBLE_EQ(r.lo, -4.0);
    EXPECT_DOUBLE_EQ(r.hi, 8.0);

    // d = 30, a = 10, r = 3: divisor 2, step 5; 35 = 5*(6+1)
    r = NiceRange(0.0, 30.0);
    EXPECT_DOUBLE_EQ(r.step, 5.0);
    EXPECT_DOUBLE_EQ(r.lo, 0.0);
    EXPECT_DOUBLE_EQ(r.hi, 35.0);

    // d = 45, a = 10, r = 4.5: divisor 1, step 10; 10 = 10*floor(1.2), 60 = 10*(5+1)
    r = NiceRange(12.0, 57.0);
    EXPECT_DOUBLE_EQ(r.step, 10.0);
    EXPECT_DOUBLE_EQ(r.lo, 10.0);
    EXPECT_DOUBLE_EQ(r.hi, 60.0);

    // d = 0.003, a = 0.001, r = 3: step 0.0005
    r = NiceRange(0.0101, 0.0131);
    EXPECT_NEAR(r.step, 0.0005, 1e-15);
    EXPECT_NEAR(r.lo, 0.0100, 1e-12);
    EXPECT_NEAR(r.hi, 0.0135, 1e-12);
}

TEST(NiceRange, UpperBoundIsStrictlyAboveAWholeStep) {
    // 10 is a multiple of step 2, and hi' still goes one step further.
    AxisRange r = NiceRange(0.0, 10.0);
    EXPECT_DOUBLE_EQ(r.hi, 12.0);
    EXPECT_GT(r.hi, 10.0);
}

TEST(NiceRange, FlatSignalIsOpenedAroundItsValue) {
    // 5 .. 5 opens to 4.5 .. 5.5: d = 1, step 0.2, 4.4 .. 5.6
    AxisRange r = NiceRange(5.0, 5.0);
    EXPECT_NEAR(r.step, 0.2, 1e-15);
    EXPECT_NEAR(r.lo, 4.4, 1e-12);
    EXPECT_NEAR(r.hi, 5.6, 1e-12);

    // 0 .. 0 opens to -1 .. 1: d = 2, r = 2, step 0.5, -1 .. 1.5
    r = NiceRange(0.0, 0.0);
    EXPECT_DOUBLE_EQ(r.step, 0.5);
    EXPECT_DOUBLE_EQ(r.lo, -1.0);
    EXPECT_DOUBLE_EQ(r.hi, 1.5);

    r = NiceRange(-2e-30f, -2e-30f);
    EXPECT_LT(r.lo, -2e-30f);
    EXPECT_GT(r.hi, -2e-30f);
}

TEST(NiceRange, NumbersThatAreNotFiniteGiveAUsableAxis) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (AxisRange r : {NiceRange(nan, 1.0), NiceRange(0.0, inf), NiceRange(-inf, inf),
                        NiceRange(-1.7e308, 1.7e308), NiceRange(1.7e308, 1.7e308)}) {
        EXPECT_TRUE(std::isfinite(r.lo) && std::isfinite(r.hi));
        EXPECT_GT(r.step, 0.0);
        EXPECT_GT(r.hi, r.lo);
    }
}
