// Battjes and Groenendijk's composite Weibull: Rayleigh's heights where Htr
// is far above the waves, a distribution whose root mean square is Hrms and
// which is continuous at Htr in between, and breaking that trims the
// highest waves on a shallow foreshore.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "waves/composite_weibull.h"

namespace {

// The mean square of H under `w` by the midpoint rule on -dP/dh.
double meanSquare(const CompositeWeibull& w) {
    const double step = 1e-4;
    double sum = 0;
    for (double h = 0; h < 6; h += step) {
        const double mass =
            compositeWeibullExceedance(w, h) - compositeWeibullExceedance(w, h + step);
        const double mid = h + step / 2;
        sum += mid * mid * mass;
    }
    return sum;
}

} // namespace

TEST(CompositeWeibull, BecomesRayleighWhenNoWaveReachesTheTransition) {
    CompositeWeibull w;
    ASSERT_TRUE(compositeWeibull(20.0, w));
    EXPECT_NEAR(w.h1Norm, 1.0, 1e-9);
    EXPECT_NEAR(w.h13Norm, 1.416, 0.001);
    EXPECT_NEAR(w.h110Norm, 1.800, 0.001);
    EXPECT_NEAR(w.h2PercentNorm, std::sqrt(std::log(50.0)), 1e-9);  // 1.978
    EXPECT_NEAR(w.h1PercentNorm, std::sqrt(std::log(100.0)), 1e-9); // 2.146
}

TEST(CompositeWeibull, IsContinuousAtTheTransitionAndHasUnitRootMeanSquare) {
    for (double htr : {0.6, 1.0, 1.5, 2.2}) {
        CompositeWeibull w;
        ASSERT_TRUE(compositeWeibull(htr, w));
        const double below = std::exp(-std::pow(htr / w.h1Norm, 2));
        const double above = std::exp(-std::pow(htr / w.h2Norm, 3.6));
        EXPECT_NEAR(below, above, 1e-12) << htr;
        EXPECT_NEAR(meanSquare(w), 1.0, 1e-4) << htr;
        // The heights exceeded by 2 % and 1 % are where P says.
        EXPECT_NEAR(compositeWeibullExceedance(w, w.h2PercentNorm), 0.02, 1e-12) << htr;
        EXPECT_NEAR(compositeWeibullExceedance(w, w.h1PercentNorm), 0.01, 1e-12) << htr;
        // Breaking lowers the highest waves relative to Rayleigh's once Htr
        // is below them.
        if (htr < 2) {
            EXPECT_LT(w.h1PercentNorm, std::sqrt(std::log(100.0)) - 0.01) << htr;
        }
        EXPECT_LT(w.h13Norm, w.h110Norm) << htr;
        EXPECT_LT(w.h110Norm, w.h1PercentNorm) << htr;
    }
    CompositeWeibull w;
    EXPECT_FALSE(compositeWeibull(0.0, w));
    EXPECT_FALSE(compositeWeibull(NAN, w));
}

TEST(CompositeWeibull, ShallowForeshoreUsesTheDepthAndTheSlope) {
    // Hm0 0.1 in 0.2 of water on a 1:50 slope: Htr = (0.35 + 5.8/50) 0.2 =
    // 0.0932, Hrms = (0.6725 + 0.2025 / 2) 0.1 = 0.077375.
    ShallowWaterHeights s;
    ASSERT_TRUE(shallowWaterHeights(0.1, 0.2, 0.02, s, nullptr));
    EXPECT_NEAR(s.htr, 0.0932, 1e-12);
    EXPECT_NEAR(s.hrms, 0.077375, 1e-12);
    EXPECT_NEAR(s.normalised.htrNorm, 0.0932 / 0.077375, 1e-12);
    EXPECT_NEAR(s.h1Percent, s.normalised.h1PercentNorm * s.hrms, 1e-15);
    EXPECT_LT(s.h1Percent, 2.146 * s.hrms);
    std::string why;
    EXPECT_FALSE(shallowWaterHeights(0.1, 0.0, 0.02, s, &why));
    EXPECT_EQ(why, "the depth must be a number > 0");
    EXPECT_FALSE(shallowWaterHeights(0.1, 0.2, -0.1, s, &why));
    EXPECT_EQ(why, "the slope must be a number >= 0");
}
