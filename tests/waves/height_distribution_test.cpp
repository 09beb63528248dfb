// Wave height distributions: the measured H2 % and H1 %, a sea's heights
// against Rayleigh's distribution, and Battjes and Groenendijk's composite
// Weibull, which must fall back to Rayleigh's where no wave breaks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sea_synthesis.h"
#include "waves/exceedance_measure.h"
#include "waves/height_distribution.h"
#include "waves/wave_by_wave.h"

namespace {

// A Gaussian sea whose density is a narrow Gaussian peak at fp (relative
// width `width`) of Hm0 `hm0`.
void narrowBandSea(BlockValues& block, size_t n, double rate, double fp, double width, double hm0,
                   unsigned seed) {
    auto shape = [&](double f) {
        const double r = (f - fp) / (width * fp);
        return std::exp(-0.5 * r * r);
    };
    gaussianSea(block, n, rate, shape, hm0, seed);
}

} // namespace

TEST(HeightDistribution, QuantilesAreTheHeightsExceededByTheFraction) {
    // 99 heights 1..99: the plotting position of the i-th highest is i/100,
    // so 2 % is exceeded by the second highest, 1 % by the highest.
    std::vector<double> descending;
    for (int h = 99; h >= 1; --h)
        descending.push_back(h);
    EXPECT_DOUBLE_EQ(heightExceededBy(descending, 0.02), 98);
    EXPECT_DOUBLE_EQ(heightExceededBy(descending, 0.01), 99);
    EXPECT_DOUBLE_EQ(heightExceededBy(descending, 0.015), 98.5);
    // 60 waves hold a 2 % height but no 1 % one.
    descending.resize(60);
    EXPECT_TRUE(std::isfinite(heightExceededBy(descending, 0.02)));
    EXPECT_TRUE(std::isnan(heightExceededBy(descending, 0.01)));
}

TEST(HeightDistribution, DeepWaterSeaFollowsRayleighWithinItsSamplingBand) {
    // Deep-water narrow-band seas (Gaussian peak at 0.5 Hz, 5 % wide, Hm0
    // 0.1) of about 800 waves each (10 Hz, 16384 samples), where Rayleigh's
    // law holds. The fraction of waves above each level h over 40 seeds
    // gives the 90 % band of such a record's sampling (its 5th..95th
    // percentiles: waves come in groups, so a count is not binomial): the
    // Rayleigh exceedance must lie inside it.
    const double levels[] = {0.5, 0.75, 1.0, 1.25};
    std::vector<double> fractions[4];
    for (unsigned seed = 1; seed <= 40; ++seed) {
        BlockValues block;
        narrowBandSea(block, 16384, 10.0, 0.5, 0.05, 0.1, seed);
        WaveStatistics s;
        ASSERT_TRUE(analyseWaves(block, WaveOptions{}, s, nullptr));
        for (int i = 0; i < 4; ++i) {
            int above = 0;
            for (const Wave& w : s.waves)
                above += w.height > levels[i] * s.heights.hm0 ? 1 : 0;
            fractions[i].push_back(double(above) / s.count);
        }
    }
    for (int i = 0; i < 4; ++i) {
        std::sort(fractions[i].begin(), fractions[i].end());
        const double p = rayleighExceedance(levels[i], 1.0);
        EXPECT_GE(p, fractions[i][2]) << levels[i];
        EXPECT_LE(p, fractions[i][37]) << levels[i];
    }
}

TEST(HeightDistribution, PointsAndHm0AreThoseOfTheBlockAsAnalysed) {
    // A gauge drifting by Hm0 over the record: with the line taken out, Hm0
    // is that of the sea, not of the sea and the drift.
    BlockValues block;
    narrowBandSea(block, 16384, 10.0, 0.5, 0.05, 0.1, 5);
    WaveStatistics plain;
    ASSERT_TRUE(analyseWaves(block, WaveOptions{}, plain, nullptr));
    for (size_t j = 0; j < block.values.size(); ++j)
        block.values[j] += 0.1 * double(j) / double(block.values.size());
    WaveOptions linear;
    linear.detrend = Detrend::Linear;
    WaveStatistics s;
    ASSERT_TRUE(analyseWaves(block, linear, s, nullptr));
    const HeightDistribution& d = s.heights;
    EXPECT_NEAR(d.hm0, plain.heights.hm0, 1e-3 * plain.heights.hm0);
    // The points come highest first on plotting positions i / (N + 1).
    const int n = s.count;
    ASSERT_EQ(d.points.size(), size_t(n));
    EXPECT_DOUBLE_EQ(d.points[0].height, s.hMax);
    EXPECT_DOUBLE_EQ(d.points[1].measured, 2.0 / (n + 1));
    EXPECT_DOUBLE_EQ(d.points[1].rayleigh, rayleighExceedance(d.points[1].height, d.hm0));
    EXPECT_DOUBLE_EQ(d.hMaxOverHm0, s.hMax / d.hm0);
    EXPECT_TRUE(std::isnan(d.points[0].weibull));
    // With a foreshore the composite Weibull comes beside Rayleigh.
    linear.depth = 0.15;
    linear.slope = 0.02;
    ASSERT_TRUE(analyseWaves(block, linear, s, nullptr));
    ASSERT_TRUE(s.heights.shallow);
    EXPECT_NEAR(s.heights.predicted.htr, (0.35 + 5.8 * 0.02) * 0.15, 1e-12);
    EXPECT_TRUE(std::isfinite(s.heights.points[0].weibull));
    EXPECT_LT(s.heights.points[0].weibull, s.heights.points[0].rayleigh);
    linear.depth = 0;
    std::string why;
    EXPECT_FALSE(analyseWaves(block, linear, s, &why));
    EXPECT_EQ(why, "the depth must be a number > 0");
}

TEST(HeightDistribution, ExceedancePlotHasTheHeightAsX) {
    // Heights 1..4 (N = 4, m0 = 1, Hm0 = 4): log10 of the waves at or above
    // h over N + 1, from h = 0 to the highest wave.
    HeightDistribution d;
    ASSERT_TRUE(heightDistribution({2, 4, 1, 3}, 1.0, 0, 0, d, nullptr));
    CMeasure m;
    ASSERT_TRUE(exceedanceMeasure(d, m));
    ASSERT_EQ(m.channelCount, 2);
    ASSERT_EQ(m.sampleCount, EXCEEDANCE_ROWS);
    EXPECT_DOUBLE_EQ((EXCEEDANCE_ROWS - 1) / m.sampleRate, 4.0);
    EXPECT_STREQ(m.channels[1].name, "Rayleigh");
    EXPECT_STREQ(m.channels[0].unit, "log10 P");
    EXPECT_FLOAT_EQ(m.value(0, 0), float(std::log10(4.0 / 5)));
    EXPECT_FLOAT_EQ(m.value(0, EXCEEDANCE_ROWS - 1), float(std::log10(1.0 / 5)));
    const int32_t row = int32_t(std::ceil(2.5 * m.sampleRate)); // just above 2.5
    EXPECT_FLOAT_EQ(m.value(0, row), float(std::log10(2.0 / 5)));
    const double h = row / m.sampleRate;
    EXPECT_FLOAT_EQ(m.value(1, row), float(-2 * (h / 4) * (h / 4) / std::log(10.0)));
    // With a foreshore a third curve.
    ASSERT_TRUE(heightDistribution({2, 4, 1, 3}, 1.0, 10.0, 0.02, d, nullptr));
    ASSERT_TRUE(exceedanceMeasure(d, m));
    EXPECT_EQ(m.channelCount, 3);
    EXPECT_STREQ(m.channels[2].name, "Weibull");
}
