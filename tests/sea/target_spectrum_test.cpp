// Target spectra: their shapes, their scaling to Hm0, and users' tables.
#include <gtest/gtest.h>

#include <cmath>

#include "sea/sea_parameters.h"
#include "sea/spectrum_table.h"
#include "sea/target_spectrum.h"
#include "sea/torsethaugen.h"
#include "support/temp_dir.h"

TEST(TargetSpectrum, ScaledSoThatTheGeneratedBandHoldsHm0) {
    for (SpectrumShape shape :
         {SpectrumShape::Jonswap, SpectrumShape::PiersonMoskowitz, SpectrumShape::Tma}) {
        TargetShape s = oneShape(shape, 0.625, 3.3, 0.6);
        TargetSpectrum t;
        const double df = 1 / 1800.0;
        ASSERT_TRUE(makeTargetSpectrum(s, 0.1, 0.3125, 1.875, df, 45000, t, nullptr));
        EXPECT_EQ(t.firstBin, 563u); // 0.3125 * 1800 = 562.5
        EXPECT_EQ(t.lastBin, 3375u);
        double m0 = 0;
        for (double d : t.binDensity)
            m0 += d * df;
        EXPECT_NEAR(4 * std::sqrt(m0), 0.1, 1e-15);
        EXPECT_NEAR(t.fp, 0.625, 0.01);
        EXPECT_DOUBLE_EQ(t.density(t.frequency(1000)), t.binDensity[1000 - t.firstBin]);
        EXPECT_EQ(t.density(0.3), 0.0);
        EXPECT_EQ(t.density(1.9), 0.0);
    }
}

TEST(TargetSpectrum, ShapesOfTheFamily) {
    const double fp = 0.625;
    // Pierson-Moskowitz is JONSWAP without the peak enhancement, which
    // multiplies the peak by gamma.
    EXPECT_DOUBLE_EQ(shapeDensity(oneShape(SpectrumShape::PiersonMoskowitz, fp, 3.3, 0), 0.9),
                     jonswapShape(0.9, fp, 1.0));
    EXPECT_NEAR(jonswapShape(fp, fp, 3.3) / jonswapShape(fp, fp, 1.0), 3.3, 1e-12);
    // sigma 0.07 below the peak and 0.09 above: one sigma away the
    // enhancement is gamma^exp(-1/2).
    const double below = fp * (1 - 0.07), above = fp * (1 + 0.09);
    EXPECT_NEAR(jonswapShape(below, fp, 3.3) / jonswapShape(below, fp, 1.0),
                std::pow(3.3, std::exp(-0.5)), 1e-12);
    EXPECT_NEAR(jonswapShape(above, fp, 3.3) / jonswapShape(above, fp, 1.0),
                std::pow(3.3, std::exp(-0.5)), 1e-12);
    // TMA: deep water leaves JONSWAP alone; in shallow water the factor
    // tends to (kh)^2 / 2 with k = omega / sqrt(g h).
    EXPECT_NEAR(kitaigorodskiiFactor(1.0, 50), 1.0, 1e-12);
    const double h = 0.01, f = 0.05;
    const double kh = 2 * 3.141592653589793 * f / std::sqrt(9.81 * h) * h;
    EXPECT_NEAR(kitaigorodskiiFactor(f, h) / (kh * kh / 2), 1.0, 1e-3);
    EXPECT_NEAR(shapeDensity(oneShape(SpectrumShape::Tma, fp, 3.3, 0.3), 1.2),
                jonswapShape(1.2, fp, 3.3) * kitaigorodskiiFactor(1.2, 0.3), 1e-15);
}

// The shapes a lab asks for by name, each from its formula: where its peak
// is, and for Ochi-Hubble that each part holds H^2/16 of variance.
TEST(TargetSpectrum, BretschneiderGaussianAndOchiHubble) {
    const double fp = 0.5;
    // Mitsuyasu's f^-5 exp(-1.03 (T1/3 f)^-4) peaks at (4 * 1.03 / 5)^(1/4) / T1/3.
    const double peak = std::pow(4 * 1.03 / 5, 0.25) / (1 / (1.05 * fp));
    EXPECT_GT(bretschneiderMitsuyasuShape(peak, fp), bretschneiderMitsuyasuShape(peak * 1.01, fp));
    EXPECT_GT(bretschneiderMitsuyasuShape(peak, fp), bretschneiderMitsuyasuShape(peak * 0.99, fp));
    // A Gaussian's width when none is given is 0.07 fp: one sigma down, exp(-1/2).
    const TargetShape swell = oneShape(SpectrumShape::Gaussian, fp, 1, 0);
    EXPECT_NEAR(shapeDensity(swell, fp + 0.07 * fp) / shapeDensity(swell, fp), std::exp(-0.5),
                1e-12);
    // Each part of Ochi-Hubble integrates to H^2 / 16 over all frequencies.
    for (double lambda : {0.8, 2.0, 6.0}) {
        OchiHubbleParts one;
        one.height[0] = 0.2;
        one.period[0] = 2.5;
        one.lambda[0] = lambda;
        double m0 = 0;
        for (double f = 1e-4; f < 20; f += 1e-4)
            m0 += ochiHubbleDensity(one, f) * 1e-4;
        EXPECT_NEAR(m0, 0.2 * 0.2 / 16, 1e-4 * 0.0025) << lambda;
        // Its peak is at the part's period.
        const double f0 = 1 / 2.5;
        EXPECT_GT(ochiHubbleDensity(one, f0), ochiHubbleDensity(one, f0 * 1.02));
        EXPECT_GT(ochiHubbleDensity(one, f0), ochiHubbleDensity(one, f0 * 0.98));
    }
}

namespace {

// The frequency of the density's largest value within [low, high] (Hz).
double highestIn(const TorsethaugenPeaks& peaks, double low, double high) {
    double best = low;
    for (double f = low; f <= high; f += 1e-5)
        if (torsethaugenDensity(peaks, f) > torsethaugenDensity(peaks, best)) best = f;
    return best;
}

// Each peak's variance over all frequencies, the other left out.
double peakVariance(TorsethaugenPeaks peaks, bool primary) {
    (primary ? peaks.secondary : peaks.primary).hm0 = 0;
    double m0 = 0;
    for (double f = 1e-4; f < 5; f += 1e-5)
        m0 += torsethaugenDensity(peaks, f) * 1e-5;
    return m0;
}

} // namespace

// Hand-computed from Torsethaugen & Haver's simplified model: Tf = 6.6 Hs^(1/3),
// the primary's share R = (1 - a) exp(-(eps / w)^2) + a of Hs, gamma from
// the steepness 2 pi H / (g T^2).
TEST(TargetSpectrum, TorsethaugenSplitsHm0BetweenTheWindSeaAndTheSwell) {
    // Wind sea: Tf = 10.4768 s, eps_l = (Tf - 6) / (Tf - 2 sqrt(4)) = 0.691208,
    // R = 0.3 exp(-(eps_l / 0.5)^2) + 0.7 = 0.744376, gamma = 35 (2 pi Hw1 /
    // (g 6^2))^(6/7) = 2.82102, the swell at Tf + 2 s.
    const TorsethaugenPeaks wind = torsethaugenPeaks(4, 6);
    EXPECT_TRUE(wind.windDominated);
    EXPECT_NEAR(wind.fullyDeveloped, 10.476847, 1e-6);
    EXPECT_NEAR(wind.primary.hm0, 0.744376 * 4, 1e-5);
    EXPECT_DOUBLE_EQ(wind.primary.tp, 6);
    EXPECT_NEAR(wind.primary.gamma, 2.82102, 1e-5);
    EXPECT_NEAR(wind.secondary.hm0, 2.671041, 1e-5);
    EXPECT_NEAR(wind.secondary.tp, 12.476847, 1e-6);
    EXPECT_DOUBLE_EQ(wind.secondary.gamma, 1);
    // Swell: eps_u = (15 - Tf) / (25 - Tf) = 0.400642 with Tf = 8.31548 s,
    // R = 0.4 exp(-(eps_u / 0.3)^2) + 0.6 = 0.667220, gamma = 35 (2 pi Hs /
    // (g Tf^2))^(6/7) (1 + 6 eps_u) = 3.90182, the wind sea at 6.6 Hs2^(1/3).
    const TorsethaugenPeaks swell = torsethaugenPeaks(2, 15);
    EXPECT_FALSE(swell.windDominated);
    EXPECT_NEAR(swell.primary.hm0, 0.667220 * 2, 1e-5);
    EXPECT_NEAR(swell.primary.gamma, 3.90182, 1e-5);
    EXPECT_NEAR(swell.secondary.hm0, 1.489721, 1e-5);
    EXPECT_NEAR(swell.secondary.tp, 7.537817, 1e-5);
    for (const TorsethaugenPeaks& p : {wind, swell}) {
        // Every peak holds its own H^2 / 16 (the primary's to the few per
        // cent of the model's normalisation of gamma), and the density peaks
        // at both.
        EXPECT_NEAR(peakVariance(p, true) / (p.primary.hm0 * p.primary.hm0 / 16), 1, 0.04);
        EXPECT_NEAR(peakVariance(p, false) / (p.secondary.hm0 * p.secondary.hm0 / 16), 1, 1e-3);
        // (The other peak's flank moves each a little.)
        const double low = std::fmin(1 / p.primary.tp, 1 / p.secondary.tp);
        const double high = std::fmax(1 / p.primary.tp, 1 / p.secondary.tp);
        const double middle = std::sqrt(low * high);
        EXPECT_NEAR(highestIn(p, low * 0.7, middle), low, 0.05 * low);
        EXPECT_NEAR(highestIn(p, middle, high * 1.3), high, 0.05 * high);
    }
    EXPECT_NEAR(highestIn(swell, 0.01, 0.5), 1 / 15.0, 1e-3); // the swell is the higher peak
}

// At Tp = Tf the sea is all one peak from either side: no jump in the
// shape as Tp crosses the fully developed period.
TEST(TargetSpectrum, TorsethaugenIsContinuousAtTheFullyDevelopedPeriod) {
    const double hm0 = 0.1, tf = 6.6 * std::cbrt(hm0);
    const TorsethaugenPeaks below = torsethaugenPeaks(hm0, tf * (1 - 1e-9));
    const TorsethaugenPeaks above = torsethaugenPeaks(hm0, tf * (1 + 1e-9));
    EXPECT_TRUE(below.windDominated);
    EXPECT_FALSE(above.windDominated);
    EXPECT_NEAR(below.primary.hm0, hm0, 1e-9);
    EXPECT_NEAR(above.primary.hm0, hm0, 1e-9);
    EXPECT_NEAR(below.primary.gamma, above.primary.gamma, 1e-6);
    for (double f = 0.1; f < 1.5; f += 0.01)
        EXPECT_NEAR(torsethaugenDensity(below, f), torsethaugenDensity(above, f),
                    1e-6 * torsethaugenDensity(below, 1 / tf))
            << f;
}

// A lab's Torsethaugen sea: its default band reaches both peaks, and the
// generated band holds Hm0, whether the second peak is a swell or a wind sea.
TEST(TargetSpectrum, TorsethaugenSeaIsScaledToHm0OverABandHoldingBothPeaks) {
    for (double tp : {1.6, 4.0}) {
        SeaParameters p;
        ASSERT_TRUE(spectrumShapeNamed("torsethaugen", p.spectrum));
        EXPECT_STREQ(spectrumShapeName(p.spectrum), "torsethaugen");
        p.tp = tp;
        p.depth = 2;
        p.dt = 0.05;
        const TorsethaugenPeaks peaks = torsethaugenPeaks(p.hm0, tp);
        const double f2 = 1 / peaks.secondary.tp;
        EXPECT_LT(seaBandLow(p), std::fmin(f2, 1 / tp) * 0.9) << tp;
        EXPECT_GT(seaBandHigh(p), std::fmax(f2, 1 / tp) * 1.5) << tp;
        EXPECT_EQ(validateSeaParameters(p), "") << tp;
        TargetSpectrum t;
        ASSERT_TRUE(makeTargetSpectrum(seaTargetShape(p), p.hm0, seaBandLow(p), seaBandHigh(p),
                                       1 / 1800.0, 18000, t, nullptr));
        double m0 = 0;
        for (double d : t.binDensity)
            m0 += d * t.df;
        EXPECT_NEAR(4 * std::sqrt(m0), p.hm0, 1e-12);
        // At 0.1 m the fully developed period is 3.06 s: 1.6 s is a steep wind
        // sea under a swell at 5.06 s whose density is higher.
        EXPECT_NEAR(t.fp, tp < 3 ? f2 : 1 / tp, 0.05 * t.fp) << tp;
    }
    // As a part of a composite sea, at the part's own Hm0.
    SeaParameters p;
    p.spectrum = SpectrumShape::Composite;
    p.parts = {{SpectrumShape::Torsethaugen, 0.08, 1.6, 1}, {SpectrumShape::Jonswap, 0.04, 3, 2}};
    compositeTotals(p.parts, p.hm0, p.tp);
    EXPECT_EQ(validateSeaParameters(p), "");
}

TEST(TargetSpectrum, TableIsLinearBetweenRowsAndZeroOutside) {
    SpectrumTable t{{0.2, 0.4, 1.0}, {0.0, 2.0, 1.0}};
    EXPECT_DOUBLE_EQ(tableDensity(t, 0.3), 1.0);
    EXPECT_DOUBLE_EQ(tableDensity(t, 0.7), 1.5);
    EXPECT_DOUBLE_EQ(tableDensity(t, 1.0), 1.0);
    EXPECT_EQ(tableDensity(t, 0.19), 0.0);
    EXPECT_EQ(tableDensity(t, 1.01), 0.0);
    // A table's target is the table scaled: the shape is kept.
    TargetSpectrum target;
    ASSERT_TRUE(makeTargetSpectrum(oneShape(SpectrumShape::Table, 2.5, 1, 0, t), 0.05, 0.2, 1.0,
                                   0.01, 500, target, nullptr));
    EXPECT_NEAR(target.density(0.7) / target.density(0.3), 1.5, 1e-12);
}

TEST(TargetSpectrum, ReadsTablesAsTheyAreWritten) {
    SpectrumTable t;
    std::string why;
    // ondarix-batch spectrum -o OUT.TXT: X value and density, tabs, CR LF.
    ASSERT_TRUE(parseSpectrumTable("0.000000e+00\t0.000000e+00\r\n"
                                   "1.000000e-01\t2.500000e-03\r\n"
                                   "2.000000e-01\t5.000000e-03\r\n",
                                   t, &why))
        << why;
    ASSERT_EQ(t.frequency.size(), 3u);
    EXPECT_DOUBLE_EQ(t.density[2], 5e-3);
    // A spreadsheet's CSV with a header, a comment and a blank last line.
    ASSERT_TRUE(parseSpectrumTable("# from the basin\nf [Hz],S [m^2/Hz]\n0.3,0.001\n0.5, 0.004\n\n",
                                   t, &why))
        << why;
    EXPECT_EQ(t.frequency, (std::vector<double>{0.3, 0.5}));
    TempDir dir;
    writeString(dir.file("s.csv"), "0.3;1\n0.6;2\n");
    ASSERT_TRUE(readSpectrumTable(dir.file("s.csv"), t, &why)) << why;
    EXPECT_EQ(t.density, (std::vector<double>{1, 2}));
}

TEST(TargetSpectrum, RefusesTablesThatAreNoSpectrum) {
    SpectrumTable t{{1.0}, {2.0}};
    std::string why;
    EXPECT_FALSE(parseSpectrumTable("0.1\t1\n0.3\t2\n0.2\t3\n", t, &why));
    EXPECT_EQ(why, "the spectrum table's frequencies must increase, but row 3's is not above the "
                   "one before");
    EXPECT_FALSE(parseSpectrumTable("0.1\t1\n0.1\t2\n", t, &why));
    EXPECT_FALSE(parseSpectrumTable("0.1\t1\n", t, &why));
    EXPECT_FALSE(parseSpectrumTable("0.1\t1\n0.2\t-1\n", t, &why));
    EXPECT_FALSE(parseSpectrumTable("0.1\t1\n0.2\tlots\n", t, &why));
    EXPECT_EQ(why, "line 2 of the spectrum table is not a frequency and a density");
    EXPECT_FALSE(parseSpectrumTable("0.1\t1\n0.2\t2x\n", t, &why));
    // Nothing read is kept on failure.
    EXPECT_EQ(t.frequency, (std::vector<double>{1.0}));
    TempDir dir;
    EXPECT_FALSE(readSpectrumTable(dir.file("none.txt"), t, &why));
    EXPECT_NE(why.find("cannot open the spectrum table"), std::string::npos) << why;
}
