// Waves that are not a random sea: a focused group and a solitary wave,
// each against its theory computed here from its definition.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "numeric/constants.h"
#include "sea/sea_synthesis.h"
#include "sea/solitary_wave.h"

namespace {

// Linear dispersion w^2 = g k tanh(k h) by bisection, apart from the code's solver.
double dispersion(double w, double h) {
    double low = 0, high = 1e4;
    for (int i = 0; i < 200; ++i) {
        const double k = 0.5 * (low + high);
        (GRAVITY * k * std::tanh(k * h) < w * w ? low : high) = k;
    }
    return 0.5 * (low + high);
}

// The first-order sea the drive's components make down the flume (ramps aside).
struct FirstOrderSea {
    std::vector<std::complex<double>> e; // half amplitudes at the paddle
    std::vector<double> w, k;

    FirstOrderSea(const SeaDrive& d, const SeaParameters& p) {
        const std::vector<double> transfer = binTransfer(d.target, p.paddle, p.depth);
        for (size_t i = 0; i < d.components.size(); ++i) {
            w.push_back(2 * PI * d.target.frequency(d.target.firstBin + i));
            k.push_back(dispersion(w.back(), p.depth));
            e.push_back(std::complex<double>(0, transfer[i]) * d.components[i]);
        }
    }
    // At x m from the paddle, t s after the start.
    double at(double x, double t) const {
        double eta = 0;
        for (size_t i = 0; i < e.size(); ++i)
            eta += 2 * std::real(e[i] * std::polar(1.0, w[i] * t - k[i] * x));
        return eta;
    }
};

SeaParameters focusedSea() {
    SeaParameters p;
    p.hm0 = 0.1;
    p.tp = 1.6;
    p.depth = 0.6;
    p.duration = 120;
    p.focused = true;
    p.focusTime = 60;
    p.focusDistance = 8;
    return p;
}

// Goring's equation dX/dt = c eta / (h + eta), integrated by fourth-order
// Runge-Kutta from the crest (t = 0, X = 0) to t.
double goringByIntegration(double height, double depth, double t) {
    const double k = std::sqrt(3 * height / (4 * depth * depth * depth));
    const double c = std::sqrt(GRAVITY * (depth + height));
    auto speed = [&](double time, double x) {
        const double s = 1 / std::cosh(k * (c * time - x));
        const double eta = height * s * s;
        return c * eta / (depth + eta);
    };
    const int steps = 4000;
    const double h = t / steps;
    double x = 0, time = 0;
    for (int i = 0; i < steps; ++i) {
        const double a = speed(time, x), b = speed(time + h / 2, x + h / 2 * a);
        const double e = speed(time + h / 2, x + h / 2 * b), f = speed(time + h, x + h * e);
        x += h / 6 * (a + 2 * b + 2 * e + f);
        time += h;
    }
    return x;
}

} // namespace

TEST(FocusedGroup, CrestsMeetAtTheFocusTimeAndDistance) {
    const SeaParameters p = focusedSea();
    ASSERT_EQ(validateSeaParameters(p), "");
    SeaDrive d;
    std::string why;
    ASSERT_TRUE(synthesiseSea(p, d, &why)) << why;
    ASSERT_TRUE(d.report.focused);
    // The most probable largest crest of 1000 waves of Hm0 0.1 m.
    EXPECT_NEAR(d.report.focusCrest, 0.1 / 4 * std::sqrt(2 * std::log(1000.0)), 1e-9);
    const FirstOrderSea sea(d, p);
    EXPECT_NEAR(sea.at(8, 60), d.report.focusCrest, 1e-9);
    // Nowhere near the focus, in time or along the flume, is the sea as high.
    for (double t = 40; t <= 80; t += 0.05)
        if (std::abs(t - 60) > 0.1) {
            EXPECT_LT(sea.at(8, t), 0.95 * d.report.focusCrest) << t;
        }
    for (double x : {0.0, 4.0, 12.0})
        for (double t = 50; t <= 70; t += 0.05)
            EXPECT_LT(sea.at(x, t), 0.95 * d.report.focusCrest) << x;
    // A crest asked for scales every component.
    SeaParameters half = p;
    half.focusCrest = d.report.focusCrest / 2;
    SeaDrive h;
    ASSERT_TRUE(synthesiseSea(half, h, &why)) << why;
    EXPECT_NEAR(FirstOrderSea(h, half).at(8, 60), d.report.focusCrest / 2, 1e-9);
}

TEST(FocusedGroup, RefusesAFocusOutsideTheDrive) {
    SeaParameters p = focusedSea();
    p.focusTime = 121;
    EXPECT_EQ(validateSeaParameters(p),
              "the focus time must lie inside the drive: 0 <= t <= 120 s");
    p = focusedSea();
    p.focusDistance = -1;
    EXPECT_EQ(validateSeaParameters(p),
              "the focus distance must be a number >= 0 m from the paddle");
    p = focusedSea();
    p.focusCrest = 0.5;
    EXPECT_NE(validateSeaParameters(p).find("the crest at focus must lie between"),
              std::string::npos);
}

TEST(SolitaryWave, PaddleFollowsGoringsEquation) {
    const SolitaryWave wave{0.12, 0.4};
    EXPECT_NEAR(wave.stroke(), std::sqrt(16 * 0.4 * 0.12 / 3), 1e-12);
    for (double t : {-3.0, -1.0, -0.2, 0.3, 1.1, 2.5}) {
        double x, v, eta;
        wave.at(t, x, v, eta);
        EXPECT_NEAR(x, goringByIntegration(0.12, 0.4, t), 1e-6 * wave.stroke()) << t;
        EXPECT_NEAR(v, std::sqrt(GRAVITY * 0.52) * eta / (0.4 + eta), 1e-12) << t;
    }

    SeaParameters p;
    p.solitaryHeight = 0.12;
    p.depth = 0.4;
    p.duration = 20;
    ASSERT_EQ(validateSeaParameters(p), "");
    SeaDrive d;
    std::string why;
    ASSERT_TRUE(synthesiseSea(p, d, &why)) << why;
    // From rest at 0 to rest at the full stroke, the crest in the middle of the motion.
    EXPECT_NEAR(d.displacement.front(), 0, 1e-3 * wave.stroke());
    EXPECT_NEAR(d.displacement.back(), wave.stroke(), 1e-6 * wave.stroke());
    EXPECT_NEAR(d.report.largestStroke, wave.stroke(), 1e-3 * wave.stroke());
    const size_t middle = size_t(std::lround(wave.motionSeconds() / 2 / p.dt));
    EXPECT_NEAR(d.elevation[middle], 0.12, 1e-3);
    EXPECT_TRUE(d.report.solitary);
    EXPECT_DOUBLE_EQ(d.report.tp, wave.motionSeconds());
}

TEST(SolitaryWave, RefusesWhatGoringsMethodCannotMake) {
    SeaParameters p;
    p.solitaryHeight = 0.12;
    p.depth = 0.4;
    p.duration = 20;
    p.paddle.type = PaddleType::Flap;
    EXPECT_EQ(validateSeaParameters(p), "a solitary wave is made by a piston, not a flap");
    p.paddle.type = PaddleType::Piston;
    p.solitaryHeight = 0.25;
    EXPECT_EQ(validateSeaParameters(p),
              "the solitary wave's height must be at most 0.6 of the depth: 0.24 m");
    p.solitaryHeight = 0.12;
    p.duration = 2;
    EXPECT_NE(validateSeaParameters(p).find("the duration must hold the solitary wave's motion"),
              std::string::npos);
    p.duration = 20;
    p.regular = true;
    EXPECT_NE(validateSeaParameters(p).find("a solitary wave is made alone"), std::string::npos);
}
