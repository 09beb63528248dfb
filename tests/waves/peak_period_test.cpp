// The peak periods beside Tp: closed forms on made-up spectra, and their
// scatter over Gaussian seas of one JONSWAP spectrum.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "sea_synthesis.h"
#include "waves/spectral_parameters.h"

namespace {

VarianceSpectrum madeUp(double df, std::vector<double> density) {
    VarianceSpectrum s;
    s.df = df;
    s.density = std::move(density);
    return s;
}

struct Spread {
    double mean = 0, deviation = 0;
    double relative() const { return deviation / mean; }
};

Spread spread(const std::vector<double>& x) {
    Spread s;
    for (double v : x)
        s.mean += v / double(x.size());
    for (double v : x)
        s.deviation += (v - s.mean) * (v - s.mean) / double(x.size() - 1);
    s.deviation = std::sqrt(s.deviation);
    return s;
}

} // namespace

TEST(PeakPeriods, ClosedFormsOnMadeUpSpectra) {
    // A parabola 10 - (j - 20.3)^2 around bin 20 (df 0.01): its vertex 20.3.
    std::vector<double> d(41, 0.0);
    for (int j = 18; j <= 22; ++j)
        d[size_t(j)] = 10 - (j - 20.3) * (j - 20.3);
    SpectralParameters p;
    ASSERT_TRUE(spectralParameters(madeUp(0.01, d), SpectralBand{}, p, nullptr));
    EXPECT_DOUBLE_EQ(p.tp, 1 / 0.2);
    EXPECT_NEAR(p.tpParabola, 1 / 0.203, 1e-9);
    // S = 1, 2, 2 on bins 10..12: Tp5 weighs by S^5 (1, 32, 32), TpD the
    // bins at or above 0.8 of the largest (11 and 12) by S.
    std::vector<double> e(21, 0.0);
    e[10] = 1, e[11] = 2, e[12] = 2;
    ASSERT_TRUE(spectralParameters(madeUp(0.1, e), SpectralBand{}, p, nullptr));
    EXPECT_NEAR(p.tp5, 65 / (0.1 * (10 + 32 * 11 + 32 * 12)), 1e-12);
    EXPECT_NEAR(p.tpD, 1 / (0.1 * 11.5), 1e-12);
    EXPECT_NEAR(p.tp, 1 / 1.1, 1e-12);          // the first of equal maxima
    EXPECT_NEAR(p.tpParabola, 1 / 1.15, 1e-12); // the flat top's middle
    // The largest bin at the band's edge keeps the bin: no neighbour
    // outside the band is used, and the periods look only inside it.
    ASSERT_TRUE(spectralParameters(madeUp(0.1, e), SpectralBand{1.2, 2.0}, p, nullptr));
    EXPECT_NEAR(p.tpParabola, 1 / 1.2, 1e-12);
    EXPECT_NEAR(p.tp5, 1 / 1.2, 1e-12);
    EXPECT_NEAR(p.tpD, 1 / 1.2, 1e-12);
    // Densities whose fifth power underflows still give Tp5.
    for (double& v : e)
        v *= 1e-70;
    ASSERT_TRUE(spectralParameters(madeUp(0.1, e), SpectralBand{}, p, nullptr));
    EXPECT_NEAR(p.tp5, 65 / (0.1 * (10 + 32 * 11 + 32 * 12)), 1e-12);
}

TEST(PeakPeriods, ScatterLessThanTpOverSeasOfOneSpectrum) {
    // 20 Gaussian seas of a gamma 3.3 JONSWAP spectrum, fp 0.4 Hz, 30
    // minutes at 10 Hz, in segments of 512 (df 0.0195 Hz, 5 % of fp: a
    // smooth estimate whose peak bin jumps). With bins much finer than the
    // noise of the estimate the parabola follows the largest bin and
    // scatters as much as Tp; Tp5 and TpD still scatter less.
    std::vector<double> tp, parabola, tp5, tpD;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        BlockValues block;
        gaussianJonswapSea(block, 18000, 10.0, 0.4, 0.1, seed);
        VarianceSpectrum s;
        SpectralParameters p;
        std::string why;
        ASSERT_TRUE(varianceSpectrum(block, 512, Detrend::Linear, s, &why)) << why;
        ASSERT_TRUE(spectralParameters(s, SpectralBand{}, p, &why)) << why;
        tp.push_back(p.tp);
        parabola.push_back(p.tpParabola);
        tp5.push_back(p.tp5);
        tpD.push_back(p.tpD);
    }
    const Spread t = spread(tp);
    std::printf("relative spread over 20 seas: Tp %.4f, Tp parabola %.4f, Tp5 %.4f, TpD %.4f\n",
                t.relative(), spread(parabola).relative(), spread(tp5).relative(),
                spread(tpD).relative());
    for (const auto* x : {&parabola, &tp5, &tpD}) {
        EXPECT_LT(spread(*x).relative(), t.relative());
        // All near the synthesis peak, 2.5 s.
        EXPECT_NEAR(spread(*x).mean, 2.5, 0.1);
    }
}
