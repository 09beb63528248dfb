// The paddle transfer functions against first-order wave-maker theory.
#include <gtest/gtest.h>

#include <cmath>

#include "sea/paddle_transfer.h"
#include "waves/wave_number.h"

namespace {

// The textbook forms, written out as they are printed.
double pistonByHand(double kh) {
    return 2 * (std::cosh(2 * kh) - 1) / (std::sinh(2 * kh) + 2 * kh);
}

double bottomFlapByHand(double kh) {
    return 4 * (std::sinh(kh) / kh) * (kh * std::sinh(kh) - std::cosh(kh) + 1) /
           (std::sinh(2 * kh) + 2 * kh);
}

// Biesel's integral for a flap hinged at height l, by Simpson's rule.
double flapByIntegral(double k, double h, double l) {
    const int n = 2000;
    const double step = (h - l) / n;
    double sum = 0;
    for (int i = 0; i <= n; ++i) {
        const double u = l + i * step; // height above the bottom
        const double s = (u - l) / (h - l);
        const double w = i == 0 || i == n ? 1 : (i % 2 ? 4 : 2);
        sum += w * s * std::cosh(k * u);
    }
    const double integral = sum * step / 3;
    return 4 * k * std::sinh(k * h) / (std::sinh(2 * k * h) + 2 * k * h) * integral;
}

const Paddle PISTON{PaddleType::Piston, 0};
const Paddle BOTTOM_FLAP{PaddleType::Flap, 0};

} // namespace

TEST(PaddleTransfer, PistonAndBottomFlapMatchTheClosedForms) {
    const double depth = 0.6;
    for (double kh : {0.05, 0.3, 1.0, 2.0, 5.0}) {
        const double k = kh / depth;
        EXPECT_NEAR(heightToStroke(PISTON, k, depth), pistonByHand(kh), 1e-12) << kh;
        EXPECT_NEAR(heightToStroke(BOTTOM_FLAP, k, depth), bottomFlapByHand(kh), 1e-12) << kh;
    }
}

TEST(PaddleTransfer, ShallowWaterLimits) {
    // Long waves: the piston pushes the whole column, H/S -> kh; the flap
    // pushes half of it on average, H/S -> kh / 2.
    for (double kh : {1e-3, 1e-5}) {
        EXPECT_NEAR(heightToStroke(PISTON, kh, 1.0) / kh, 1.0, 1e-5) << kh;
        EXPECT_NEAR(heightToStroke(BOTTOM_FLAP, kh, 1.0) / (kh / 2), 1.0, 1e-5) << kh;
    }
}

TEST(PaddleTransfer, DeepWaterStaysFinite) {
    // 12.5 Hz in 0.6 m: kh near 380, where sinh 2kh overflows a double.
    const double h = heightToStrokeAt(PISTON, 12.5, 0.6);
    ASSERT_TRUE(std::isfinite(h));
    EXPECT_NEAR(h, 2.0, 1e-12);
    const double flap = heightToStrokeAt(Paddle{PaddleType::Flap, 0.2}, 12.5, 0.6);
    ASSERT_TRUE(std::isfinite(flap));
    const double kh = waveNumber(2 * 3.141592653589793 * 12.5, 0.6) * 0.6;
    EXPECT_NEAR(flap, 2 * (1 - 1 / (kh * (0.4 / 0.6))), 1e-9);
}

TEST(PaddleTransfer, HingedFlapFollowsBieselsIntegral) {
    const double h = 0.6;
    for (double hinge : {0.0, 0.1, 0.3, 0.55})
        for (double kh : {0.2, 1.0, 3.0}) {
            const double k = kh / h;
            EXPECT_NEAR(heightToStroke(Paddle{PaddleType::Flap, hinge}, k, h),
                        flapByIntegral(k, h, hinge), 1e-9)
                << hinge << " " << kh;
        }
    // A higher hinge moves less water below the surface: a smaller wave for
    // the same stroke, more so for long waves.
    EXPECT_LT(heightToStrokeAt(Paddle{PaddleType::Flap, 0.3}, 0.5, h),
              heightToStrokeAt(BOTTOM_FLAP, 0.5, h));
    EXPECT_LT(heightToStrokeAt(BOTTOM_FLAP, 0.5, h), heightToStrokeAt(PISTON, 0.5, h));
}

TEST(PaddleTransfer, HingeNotBelowTheWaterIsNoPaddle) {
    EXPECT_TRUE(std::isnan(heightToStroke(Paddle{PaddleType::Flap, 0.6}, 1.0, 0.6)));
    EXPECT_TRUE(std::isnan(heightToStroke(Paddle{PaddleType::Flap, 0.8}, 1.0, 0.6)));
    EXPECT_TRUE(std::isnan(heightToStroke(Paddle{PaddleType::Flap, -0.1}, 1.0, 0.6)));
    EXPECT_TRUE(std::isnan(heightToStroke(PISTON, 1.0, 0.0)));
}
