// Wave-by-wave statistics on records whose waves are known from how they are
// built.
#include "waves/wave_by_wave.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sea_synthesis.h"

namespace {

// 0.07 sin(2 pi (t - 0.3 + 0.5)) at 80 Hz, 1613 samples (0 .. 20.15 s): a wave
// of H = 0.14, T = 1 s whose down-crossings are at 0.3 + k s (k = 0..19) and
// up-crossings at 0.8 + k s (k = 0..19).
BlockValues regularWave() {
    BlockValues b = emptyBlock(1613, 80.0);
    for (size_t j = 0; j < b.values.size(); ++j)
        b.values[j] = 0.07 * std::sin(2 * SEA_PI * (j / 80.0 - 0.3 + 0.5));
    return b;
}

// Sampling at 80 per period puts an extreme at most half a sample off its
// sample: the height reads low by at most 1 - cos(pi/80) = 7.7e-4 of itself.
constexpr double SAMPLED = 7.8e-4;

} // namespace

TEST(WaveByWave, RegularWaveGivesItsHeightAndPeriod) {
    for (bool up : {false, true}) {
        WaveStatistics s;
        std::string why;
        WaveOptions options;
        options.upCrossing = up;
        ASSERT_TRUE(analyseWaves(regularWave(), options, s, &why)) << why;
        // 20 crossings of either kind inside 0..20.15 s make 19 waves.
        EXPECT_EQ(s.count, 19);
        for (double h : {s.hMax, s.h13, s.h110, s.hMean, s.hRms})
            EXPECT_NEAR(h, 0.14, 0.14 * SAMPLED);
        for (double t : {s.tHMax, s.t13, s.t110, s.tz, s.tMax})
            EXPECT_NEAR(t, 1.0, 1e-6);
        // The block mean (a 0.15 s tail of the sine) moves every crossing alike
        // by at most mean / slope = 2.4e-3 / 0.44 s.
        EXPECT_NEAR(s.waves.front().start, up ? 0.8 : 0.3, 6e-3);
        EXPECT_NEAR(s.waves.front().crest, 0.07, 3e-3);
        EXPECT_NEAR(s.waves.front().trough, -0.07, 3e-3);
    }
}

TEST(WaveByWave, HighestThirdAndTenthTakeTheHighestWaves) {
    // Cycle i (i = 0..31) is -a_i sin over its own period T_i, so that each
    // cycle is one down-crossing wave of height 2 a_i = 0.02 i and period
    // T_i = 1.5 - 0.01 i. Samples at (j + 0.5) / 80 s miss t = 0, so the
    // waves are cycles 1..30, the mean is taken out before.
    std::vector<double> starts{0};
    for (int i = 0; i < 32; ++i)
        starts.push_back(starts.back() + 1.5 - 0.01 * i);
    BlockValues b = emptyBlock(size_t(starts.back() * 80), 80.0);
    double mean = 0;
    int cycle = 0;
    for (size_t j = 0; j < b.values.size(); ++j) {
        double t = (j + 0.5) / 80.0;
        while (t >= starts[size_t(cycle) + 1])
            ++cycle;
        double T = starts[size_t(cycle) + 1] - starts[size_t(cycle)];
        double a = cycle == 0 ? 0.005 : 0.01 * cycle; // cycle 0 only leads in
        b.values[j] = -a * std::sin(2 * SEA_PI * (t - starts[size_t(cycle)]) / T);
        mean += b.values[j] / double(b.values.size());
    }
    for (double& v : b.values)
        v -= mean;
    WaveStatistics s;
    std::string why;
    ASSERT_TRUE(analyseWaves(b, WaveOptions{}, s, &why)) << why;
    ASSERT_EQ(s.count, 30);
    // Heights 0.02 i, i = 1..30: the highest 10 average 0.02 * 25.5, the
    // highest 3 0.02 * 29; all 30 0.02 * 15.5, rms 0.02 sqrt(9455 / 30).
    EXPECT_NEAR(s.hMax, 0.60, 0.60 * SAMPLED);
    EXPECT_NEAR(s.h13, 0.51, 0.51 * SAMPLED);
    EXPECT_NEAR(s.h110, 0.58, 0.58 * SAMPLED);
    EXPECT_NEAR(s.hMean, 0.31, 0.31 * SAMPLED);
    EXPECT_NEAR(s.hRms, 0.02 * std::sqrt(9455.0 / 30), 0.36 * SAMPLED);
    // Periods 1.5 - 0.01 i: the highest wave's is 1.2, the highest ten's
    // mean 1.245, the highest three's 1.21, all 1.345, the longest 1.49.
    EXPECT_NEAR(s.tHMax, 1.20, 1e-4);
    EXPECT_NEAR(s.t13, 1.245, 1e-4);
    EXPECT_NEAR(s.t110, 1.21, 1e-4);
    EXPECT_NEAR(s.tz, 1.345, 1e-4);
    EXPECT_NEAR(s.tMax, 1.49, 1e-4);
}

TEST(WaveByWave, ThresholdKeepsNoiseFromSplittingWaves) {
    // 0.07 sin at 80 samples a period, 100 periods, down-crossings at 0.5 +
    // k periods: 99 whole waves. Gaussian noise of 0.002 makes extra
    // crossings near zero.
    BlockValues b = emptyBlock(8000, 80.0);
    for (size_t j = 0; j < b.values.size(); ++j)
        b.values[j] = 0.07 * std::sin(2 * SEA_PI * (j + 0.5) / 80.0);
    addNoise(b, 0.002, 7);
    WaveStatistics raw, banded;
    std::string why;
    ASSERT_TRUE(analyseWaves(b, WaveOptions{}, raw, &why)) << why;
    EXPECT_GT(raw.count, 99);
    WaveOptions options;
    options.threshold = 0.02;
    ASSERT_TRUE(analyseWaves(b, options, banded, &why)) << why;
    EXPECT_EQ(banded.count, 99);
    EXPECT_NEAR(banded.tz, 1.0, 2e-3);
    EXPECT_NEAR(banded.h13, 0.14, 0.01);
}

TEST(WaveByWave, RefusesWhatHoldsNoWave) {
    WaveStatistics s;
    std::string why;
    EXPECT_FALSE(analyseWaves(emptyBlock(100, 10.0), WaveOptions{}, s, &why));
    EXPECT_EQ(why, "the block holds no complete wave");
    // A threshold above the wave height leaves no crossing that counts.
    WaveOptions high;
    high.threshold = 0.5;
    EXPECT_FALSE(analyseWaves(regularWave(), high, s, &why));
    WaveOptions negative;
    negative.threshold = -1;
    EXPECT_FALSE(analyseWaves(regularWave(), negative, s, &why));
    EXPECT_EQ(why, "the threshold must be a number >= 0");
    EXPECT_FALSE(analyseWaves(emptyBlock(100, 0.0), WaveOptions{}, s, &why));
}

TEST(WaveByWave, FewWavesLeaveTheHighestThirdUncomputed) {
    // Two waves: floor(2/3) = 0, so H1/3 and H1/10 have no waves to average.
    BlockValues b = regularWave();
    b.values.resize(240); // 0 .. 2.99 s: down-crossings at 0.3, 1.3, 2.3
    WaveStatistics s;
    ASSERT_TRUE(analyseWaves(b, WaveOptions{}, s, nullptr));
    EXPECT_EQ(s.count, 2);
    EXPECT_TRUE(std::isnan(s.h13));
    EXPECT_TRUE(std::isnan(s.t110));
    auto lines = waveParameterLines(s, "m");
    EXPECT_EQ(lines[4], "H1/3 (m)\t-");
    EXPECT_EQ(waveListLines(s).size(), 3u);
}

TEST(WaveByWave, LinearDetrendFindsTheWavesOfADriftingGauge) {
    // The regular wave on a drift of 0.2 over the record: about the mean the
    // first and last seconds never cross, about the line every wave does.
    BlockValues b = regularWave();
    const double n = double(b.values.size());
    for (size_t j = 0; j < b.values.size(); ++j)
        b.values[j] += 0.2 * double(j) / n;
    WaveOptions options;
    WaveStatistics s;
    std::string why;
    ASSERT_TRUE(analyseWaves(b, options, s, &why)) << why;
    EXPECT_LT(s.count, 15);
    options.detrend = Detrend::Linear;
    ASSERT_TRUE(analyseWaves(b, options, s, &why)) << why;
    EXPECT_EQ(s.count, 19);
    // Crest to trough half a period apart: the drift adds 0.01 m/s * 0.5 s.
    EXPECT_NEAR(s.hMean, 0.14, 0.006);
    EXPECT_NEAR(s.tz, 1.0, 1e-3);
    EXPECT_NEAR(s.mean, 0.1, 0.005); // the block mean, the line at its middle
    // Without detrending the crossings are those of zero: a record far above
    // zero has none.
    for (double& v : b.values)
        v += 1.0;
    options.detrend = Detrend::None;
    EXPECT_FALSE(analyseWaves(b, options, s, &why));
    EXPECT_EQ(why, "the block holds no complete wave");
}
