// Gauge noise that takes over a result is told with the option that keeps
// it out, the option's suggested value does keep it out, and a clean sea,
// however it is sampled, is told nothing.
#include "waves/noise_warning.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sea_synthesis.h"
#include "waves/spectrum_report.h"

namespace {

// Half an hour of a JONSWAP sea of Hm0 0.1 m, Tp 1.67 s, its f^-5 tail up
// to Nyquist, at `rate`; with `noise` m of white gauge noise.
BlockValues flumeSea(double rate, double noise) {
    BlockValues b;
    gaussianJonswapSea(b, size_t(1800 * rate), rate, 0.6, 0.1, 21);
    if (noise > 0) addNoise(b, noise, 4);
    return b;
}

WaveStatistics wavesOf(const BlockValues& b, double threshold) {
    WaveOptions o;
    o.threshold = threshold;
    WaveStatistics s;
    std::string why;
    EXPECT_TRUE(analyseWaves(b, o, s, &why)) << why;
    return s;
}

SpectrumReport spectrumOf(const BlockValues& b, double fmax) {
    SpectrumReport r;
    std::string why;
    EXPECT_TRUE(spectrumReport(b, 0, Detrend::Linear, SpectralBand{0, fmax}, r, &why)) << why;
    return r;
}

} // namespace

TEST(NoiseWarning, NoiseCrossingsSuggestAThresholdThatGivesBackTheSeasWaves) {
    const WaveStatistics clean = wavesOf(flumeSea(50, 0), 0);
    const BlockValues noisy = flumeSea(50, 0.002);
    const WaveStatistics split = wavesOf(noisy, 0);
    ASSERT_GT(split.count, clean.count * 1.3); // the fault: noise crossings
    const std::vector<NoiseWarning> warnings = waveNoiseWarnings(split);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].option, "threshold");
    // A few millimetres: above the noise, far below the sea's waves.
    EXPECT_GT(warnings[0].value, 0.002);
    EXPECT_LT(warnings[0].value, 0.02);
    const WaveStatistics kept = wavesOf(noisy, warnings[0].value);
    EXPECT_TRUE(waveNoiseWarnings(kept).empty());
    EXPECT_NEAR(double(kept.count) / clean.count, 1, 0.1);
    EXPECT_NEAR(kept.tz / clean.tz, 1, 0.1);
    EXPECT_NEAR(kept.h13 / clean.h13, 1, 0.05);
}

TEST(NoiseWarning, NoiseTailSuggestsAnFmaxThatGivesBackTm02) {
    const SpectrumReport clean = spectrumOf(flumeSea(50, 0), 0);
    const BlockValues noisy = flumeSea(50, 0.002);
    const SpectrumReport tailed = spectrumOf(noisy, 0);
    ASSERT_LT(tailed.parameters.tm02, 0.8 * clean.parameters.tm02); // the fault
    ASSERT_EQ(tailed.warnings.size(), 1u);
    EXPECT_EQ(tailed.warnings[0].option, "fmax");
    // Above the peak's harmonics' reach, far below Nyquist.
    EXPECT_GT(tailed.warnings[0].value, 2 * clean.parameters.fp);
    EXPECT_LT(tailed.warnings[0].value, 10.0);
    const SpectrumReport cut = spectrumOf(noisy, tailed.warnings[0].value);
    EXPECT_TRUE(cut.warnings.empty());
    EXPECT_NEAR(cut.parameters.tm02 / clean.parameters.tm02, 1, 0.05);
    EXPECT_NEAR(cut.parameters.hm0 / clean.parameters.hm0, 1, 0.01);
}

TEST(NoiseWarning, ACleanSeaIsToldNothingAtAnyRate) {
    // From 4 Hz, where the tail above 3 fp is short and steep, to 100 Hz,
    // where it is long and low.
    for (double rate : {4.0, 10.0, 25.0, 100.0}) {
        const BlockValues sea = flumeSea(rate, 0);
        EXPECT_TRUE(waveNoiseWarnings(wavesOf(sea, 0)).empty()) << rate;
        EXPECT_TRUE(spectrumOf(sea, 0).warnings.empty()) << rate;
    }
}
