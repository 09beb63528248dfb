// The 90 % band of a Welch density: its degrees of freedom for the Hann
// window at 50 % overlap, and how often it holds the true density of seas
// built from a known spectrum.
#include <gtest/gtest.h>

#include <cmath>

#include "sea_synthesis.h"
#include "waves/confidence_band.h"
#include "waves/spectrum_measure.h"

TEST(ConfidenceBand, HannAtHalfOverlapHasPercivalAndWaldensDegreesOfFreedom) {
    // nu = 36 K^2 / (19 K - 1) for K segments (rho(1) = 1/6 from the half
    // of the windows that overlaps); 2 for a single segment.
    const int32_t n = 1024;
    std::vector<double> w(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i)
        w[size_t(i)] = 0.5 - 0.5 * std::cos(2 * SEA_PI * i / n);
    for (int32_t k : {1, 2, 7, 63}) {
        const double expected = 36.0 * k * k / (19.0 * k - 1);
        EXPECT_NEAR(welchDegreesOfFreedom(w, n / 2, k), expected, 1e-9 * expected) << k;
    }
    // The spectrum carries it: 16384 samples in segments of 1024 are 31.
    BlockValues block;
    gaussianJonswapSea(block, 16384, 10.0, 0.5, 0.1, 3);
    VarianceSpectrum s;
    ASSERT_TRUE(varianceSpectrum(block, 1024, Detrend::Linear, s, nullptr));
    EXPECT_EQ(s.segmentCount, 31);
    EXPECT_NEAR(s.dof, 36.0 * 31 * 31 / (19.0 * 31 - 1), 1e-9);
    ConfidenceBand band;
    ASSERT_TRUE(confidenceBand(s, 0.9, band));
    // The written spectrum carries the band as two more channels.
    CMeasure m;
    ASSERT_TRUE(spectrumMeasure(s, band, "m", m));
    ASSERT_EQ(m.channelCount, 3);
    EXPECT_STREQ(m.channels[1].name, "S lower 90%");
    EXPECT_STREQ(m.channels[2].name, "S upper 90%");
    EXPECT_FLOAT_EQ(m.value(1, 100), float(s.density[100] * band.lowerFactor));
    EXPECT_FLOAT_EQ(m.value(2, 100), float(s.density[100] * band.upperFactor));
    EXPECT_FALSE(confidenceBand(VarianceSpectrum{}, 0.9, band)); // no dof known
}

TEST(ConfidenceBand, HoldsTheTrueDensityInNinetyPercentOfTheBins) {
    // 50 Gaussian seas of one JONSWAP spectrum (fp 0.5 Hz, 10 Hz, 32768
    // samples, segments of 2048: nu = 59), counted over the bins where the
    // density is at least 5 % of its peak (the Welch estimate's leakage
    // bias stays small there).
    int inside = 0, total = 0;
    for (unsigned seed = 100; seed < 150; ++seed) {
        BlockValues block;
        const double c = gaussianJonswapSea(block, 32768, 10.0, 0.5, 0.1, seed);
        VarianceSpectrum s;
        ASSERT_TRUE(varianceSpectrum(block, 2048, Detrend::Linear, s, nullptr));
        ConfidenceBand band;
        ASSERT_TRUE(confidenceBand(s, 0.9, band));
        const double peak = c * jonswapShape(0.5, 0.5);
        for (size_t j = 1; j + 1 < s.density.size(); ++j) {
            const double truth = c * jonswapShape(s.frequency(j), 0.5);
            if (truth < 0.05 * peak) continue;
            ++total;
            if (band.lower[j] <= truth && truth <= band.upper[j]) ++inside;
        }
    }
    const double share = double(inside) / total;
    std::printf("90 %% band holds the true density in %.4f of %d bins\n", share, total);
    EXPECT_GE(share, 0.85);
    EXPECT_LE(share, 0.95);
}
