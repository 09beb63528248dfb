// Grid lines and their labels: over many random scales every label names the
// value its line sits on, labels differ from line to line, and lines are
// evenly spaced.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "view/axis_ticks.h"

namespace {

double parsed(const std::string& label) {
    return std::strtod(label.c_str(), nullptr);
}

void expectDistinctAndEven(const std::vector<AxisTick>& ticks, const char* what) {
    for (size_t i = 1; i < ticks.size(); ++i) {
        EXPECT_NE(ticks[i].label, ticks[i - 1].label) << what;
        if (i >= 2) {
            int gap = ticks[i].pixel - ticks[i - 1].pixel;
            int before = ticks[i - 1].pixel - ticks[i - 2].pixel;
            EXPECT_LE(std::abs(gap - before), 1) << what << " at " << ticks[i].label;
        }
    }
}

} // namespace

// At 50 Hz a step of 0.05 s falls between samples 2 and 3: the line must sit
// at 2.5 samples, where the label says, not at the nearer sample (0.06 s).
TEST(AxisTicks, TimeLinesSitOnTheirOwnTimeBetweenSamples) {
    const double p = 69.0; // pixels per sample, zoomed in
    std::vector<AxisTick> ticks = timeTicks(0, 16, 50.0, p);
    ASSERT_GE(ticks.size(), 3u);
    EXPECT_EQ(ticks[0].label, "0.05");
    EXPECT_EQ(ticks[0].pixel, int(std::floor(2.5 * p + 0.5)));
    expectDistinctAndEven(ticks, "50 Hz");
}

TEST(AxisTicks, LabelsNameTheirLinesOnRandomScales) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 2000; ++trial) {
        double rate = std::pow(10.0, -1.0 + 6.0 * unit(rng));
        int32_t visible = 16 + int32_t(unit(rng) * 2000000.0);
        int32_t s0 = int32_t(unit(rng) * 10000000.0);
        double p = (200.0 + 1800.0 * unit(rng)) / visible;
        std::vector<AxisTick> ticks = timeTicks(s0, visible, rate, p);
        ASSERT_FALSE(ticks.empty());
        for (const AxisTick& t : ticks) {
            // The time under the line's pixel, to half a pixel.
            double atPixel = (s0 + t.pixel / p) / rate;
            EXPECT_NEAR(atPixel, t.value, 0.5 / p / rate + 1e-9 * std::fabs(t.value))
                << "rate " << rate << " label " << t.label;
            double step = ticks.size() > 1 ? ticks[1].value - ticks[0].value : 1.0;
            EXPECT_NEAR(parsed(t.label), t.value, step * 1e-6 + 1e-12) << t.label;
        }
        expectDistinctAndEven(ticks, "time");

        double lo = (unit(rng) - 0.5) * std::pow(10.0, -4.0 + 8.0 * unit(rng));
        double hi = lo + std::pow(10.0, -5.0 + 9.0 * unit(rng));
        AxisRange axis = NiceRange(lo, hi);
        StripScale scale(axis, 40 + int32_t(unit(rng) * 800));
        std::vector<AxisTick> values = valueTicks(axis, scale);
        for (const AxisTick& t : values) {
            EXPECT_EQ(t.pixel, scale.Y(t.value));
            EXPECT_NEAR(parsed(t.label), t.value, axis.step * 1e-6) << t.label;
        }
        expectDistinctAndEven(values, "value");
    }
}

TEST(AxisTicks, DecimalsFollowTheStepButNeverFallBelowTwo) {
    EXPECT_EQ(tickLabel(0.25, 0.05), "0.25");
    EXPECT_EQ(tickLabel(0.015, 0.005), "0.015");
    EXPECT_EQ(tickLabel(0.0002, 0.0001), "0.0002");
    EXPECT_EQ(tickLabel(1500.0, 500.0), "1500.00");
    EXPECT_EQ(tickLabel(0.1, 0.1), "0.10");
}
