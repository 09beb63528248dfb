// Welch spectra and spectral parameters against seas built from a known
// spectrum, and against spectra whose moments have a closed form.
#include "waves/spectral_parameters.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sea_synthesis.h"
#include "waves/spectrum_measure.h"

namespace {

// A JONSWAP sea of Hm0 0.1 m, fp 0.5 Hz at 10 Hz, 32768 samples. Component
// frequencies are multiples of 8 / 3276.8 s, so each fits the record whole
// and the record's variance is sum a^2 / 2.
struct Sea {
    std::vector<Component> components;
    BlockValues block;
};

Sea jonswapSea() {
    Sea sea;
    const double duration = 32768 / 10.0;
    std::vector<double> f;
    for (int i = 1; 8.0 * i / duration < 2.5; ++i)
        if (8.0 * i / duration > 0.15) f.push_back(8.0 * i / duration);
    sea.components = jonswapComponents(f, {}, 0.5, 0.1, 11);
    sea.block = emptyBlock(32768, 10.0);
    for (const Component& c : sea.components)
        for (size_t j = 0; j < sea.block.values.size(); ++j)
            sea.block.values[j] += c.amplitude * std::cos(c.omega * j / 10.0 + c.phase);
    return sea;
}

double variance(const std::vector<double>& x) {
    double mean = 0, v = 0;
    for (double a : x)
        mean += a / double(x.size());
    for (double a : x)
        v += (a - mean) * (a - mean) / double(x.size());
    return v;
}

} // namespace

TEST(VarianceSpectrum, DefaultSegmentIsTheLargestPowerOfTwoNotAboveAnEighth) {
    EXPECT_EQ(defaultSegment(32768), 4096);
    EXPECT_EQ(defaultSegment(32767), 2048);
    EXPECT_EQ(defaultSegment(2097152), 262144);
    EXPECT_EQ(defaultSegment(1000), 256); // never below 256
    int32_t chosen = 0;
    std::string why;
    EXPECT_FALSE(chooseSegment(200, 0, chosen, &why)); // 256 > 200 samples
    EXPECT_EQ(why, "the block of 200 samples is shorter than a segment of 256");
    EXPECT_FALSE(chooseSegment(1000, 7, chosen, &why));
}

TEST(VarianceSpectrum, JonswapSeaGivesItsHm0PeakAndMeanPeriods) {
    Sea sea = jonswapSea();
    VarianceSpectrum s;
    std::string why;
    ASSERT_TRUE(varianceSpectrum(sea.block, 1024, s, &why)) << why;
    EXPECT_DOUBLE_EQ(s.df, 10.0 / 1024);
    EXPECT_EQ(s.segmentCount, 63); // (32768 - 1024) / 512 + 1
    // The bins from f1 up and the variance below f1 make up the block's variance.
    double sum = 0;
    for (size_t j = 1; j < s.density.size(); ++j)
        sum += s.density[j] * s.df;
    EXPECT_NEAR(sum + s.varianceBelowF1, variance(sea.block.values), 1e-12);
    SpectralParameters p;
    ASSERT_TRUE(spectralParameters(s, SpectralBand{}, p, &why)) << why;
    // Hm0 = 4 sqrt(sum a^2/2) = 0.1 by construction; the overlapped Hann
    // segments weigh the record unevenly, so its wave groups move Welch's
    // estimate by a per cent or two.
    EXPECT_NEAR(p.hm0, 0.1, 2e-3);
    // The peak within a bin or two of the synthesis peak 0.5 Hz.
    EXPECT_NEAR(p.tp, 2.0, 0.1);
    // Mean periods from the components' own moments (Hann leakage moves
    // them by a little).
    const auto& c = sea.components;
    double m0 = componentMoment(c, 0);
    EXPECT_NEAR(p.tm01, m0 / componentMoment(c, 1), 0.02);
    EXPECT_NEAR(p.tm02, std::sqrt(m0 / componentMoment(c, 2)), 0.02);
    EXPECT_NEAR(p.tm10, componentMoment(c, -1) / m0, 0.02);
}

TEST(VarianceSpectrum, SineOnABinPeaksThere) {
    // f = 51 * 10 / 1024 Hz, on bin 51 of a 1024 segment: Tp = 1024 / 510 s,
    // and its variance a^2/2 = 0.00125 is the whole m0.
    BlockValues b = emptyBlock(8192, 10.0);
    for (size_t j = 0; j < b.values.size(); ++j)
        b.values[j] = 0.05 * std::sin(2 * SEA_PI * 51 * j / 1024.0);
    VarianceSpectrum s;
    SpectralParameters p;
    ASSERT_TRUE(varianceSpectrum(b, 1024, s, nullptr));
    ASSERT_TRUE(spectralParameters(s, SpectralBand{}, p, nullptr));
    EXPECT_DOUBLE_EQ(p.tp, 1024 / 510.0);
    EXPECT_NEAR(p.m0, 0.00125, 1e-12);
    // The Hann window spreads a bin-centred sine over bins 50..52 only.
    EXPECT_NEAR(s.density[51] * s.df, 0.00125 * 2 / 3, 1e-9);
    EXPECT_NEAR(s.density[53], 0, 1e-12);
}

TEST(VarianceSpectrum, SeicheSlowerThanASegmentIsVarianceBelowF1NotSpreadOverTheBand) {
    // A sine of amplitude 0.05 on bin 51 of a 256 segment and a seiche of
    // 0.05 whose period is the whole record, 128 segments: each segment
    // sees the seiche as little more than its mean. The sine's density
    // integrates to 0.05^2 / 2 and the seiche's 0.05^2 / 2 is below f1.
    const size_t n = 32768;
    BlockValues b = emptyBlock(n, 10.0);
    for (size_t j = 0; j < n; ++j)
        b.values[j] = 0.05 * std::sin(2 * SEA_PI * 51 * double(j) / 256.0) +
                      0.05 * std::sin(2 * SEA_PI * double(j) / double(n));
    for (Detrend d : {Detrend::Mean, Detrend::Linear}) {
        VarianceSpectrum s;
        SpectralParameters p;
        std::string why;
        ASSERT_TRUE(varianceSpectrum(b, 256, d, s, &why)) << why;
        ASSERT_TRUE(spectralParameters(s, SpectralBand{}, p, &why)) << why;
        // The seiche's slope inside a segment leaks a little into bins 1 and 2.
        EXPECT_NEAR(p.m0, 0.00125, 0.00125 * 2e-3) << detrendName(d);
        EXPECT_NEAR(s.density[51] * s.df, 0.00125 * 2 / 3, 1e-9) << detrendName(d);
        EXPECT_NEAR(s.density[20], 0, 1e-12) << detrendName(d);
        EXPECT_DOUBLE_EQ(p.fp, 51 * s.df) << detrendName(d);
        // The line takes the seiche's own slope over the record (its
        // variance 6 / pi^2 of the seiche's) before the segments do.
        const double below = d == Detrend::Mean ? 0.00125 : 0.00125 * (1 - 6 / (SEA_PI * SEA_PI));
        EXPECT_NEAR(s.varianceBelowF1, below, below * 5e-3) << detrendName(d);
    }
}

TEST(SpectralParameters, RectangularSpectrumHasItsClosedForms) {
    // S = 2 on bins 10..29 of df = 0.05: with sums over j of 1, j and j^2 of
    // 20, 390 and 8270, m0 = 2 df 20, m1 = 2 df^2 390, m2 = 2 df^3 8270,
    // Qp = 2 sum f S^2 df / m0^2 = (10 + 29) / 20, nu = sqrt(20 8270 / 390^2 - 1).
    VarianceSpectrum s;
    s.df = 0.05;
    s.density.assign(41, 0.0);
    for (int j = 10; j <= 29; ++j)
        s.density[size_t(j)] = 2.0;
    SpectralParameters p;
    ASSERT_TRUE(spectralParameters(s, SpectralBand{}, p, nullptr));
    EXPECT_NEAR(p.m0, 2.0, 1e-12);
    EXPECT_NEAR(p.hm0, 4 * std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(p.tm01, 20 / (390 * 0.05), 1e-12);
    EXPECT_NEAR(p.tm02, std::sqrt(20 / (8270 * 0.05 * 0.05)), 1e-12);
    EXPECT_NEAR(p.qp, 39.0 / 20, 1e-12);
    EXPECT_NEAR(p.width, std::sqrt(20 * 8270.0 / (390.0 * 390.0) - 1), 1e-12);
    EXPECT_NEAR(p.fp, 0.5, 1e-12); // the first of equal maxima
}

TEST(SpectralParameters, BandLimitsTheMomentsAndThePeak) {
    // Two peaks: 3 at 0.5 Hz, 1 at 1.5 Hz (df 0.1). The band 1..2 Hz sees
    // only the smaller one.
    VarianceSpectrum s;
    s.df = 0.1;
    s.density.assign(26, 0.0);
    s.density[5] = 3;
    s.density[15] = 1;
    SpectralParameters p;
    std::string why;
    ASSERT_TRUE(spectralParameters(s, SpectralBand{1.0, 2.0}, p, &why)) << why;
    EXPECT_NEAR(p.fp, 1.5, 1e-12);
    EXPECT_NEAR(p.m0, 0.1, 1e-12);
    EXPECT_NEAR(p.fmin, 1.0, 1e-12);
    EXPECT_NEAR(p.fmax, 2.0, 1e-12);
    EXPECT_FALSE(spectralParameters(s, SpectralBand{2.0, 1.0}, p, &why));
    EXPECT_EQ(why, "fmax is below fmin");
    EXPECT_FALSE(spectralParameters(s, SpectralBand{1.7, 2.0}, p, &why));
    EXPECT_EQ(why, "the band holds no variance");
    EXPECT_FALSE(spectralParameters(s, SpectralBand{5.0, 0}, p, &why));
}

TEST(SpectralParameters, BandLimitsAboveNyquistAreRefused) {
    // 26 bins 0.1 Hz apart: Nyquist is 2.5 Hz. 1e30 Hz is no bin number of any
    // integer type, above or below.
    VarianceSpectrum s;
    s.df = 0.1;
    s.density.assign(26, 1.0);
    SpectralParameters p;
    std::string why;
    for (SpectralBand band : {SpectralBand{1e30, 0}, SpectralBand{0, 1e30}, SpectralBand{2.6, 0},
                              SpectralBand{1.0, 2.6}}) {
        EXPECT_FALSE(spectralParameters(s, band, p, &why)) << band.fmin << " " << band.fmax;
        EXPECT_EQ(why, "the band limits must not exceed the Nyquist frequency, 2.5 Hz");
    }
    ASSERT_TRUE(spectralParameters(s, SpectralBand{2.5, 2.5}, p, &why)) << why;
    EXPECT_NEAR(p.fmin, 2.5, 1e-12);
    EXPECT_EQ(p.binCount, 1);
}

TEST(SpectrumMeasure, FrequencyIsTheXAxis) {
    VarianceSpectrum s;
    s.df = 0.025;
    s.density = {0, 1.5, 2.5};
    CMeasure m;
    ASSERT_TRUE(spectrumMeasure(s, "m", m));
    EXPECT_DOUBLE_EQ(m.sampleRate, 40.0); // row j at j / 40 = j * 0.025 Hz
    EXPECT_EQ(m.sampleCount, 3);
    EXPECT_EQ(m.channelCount, 1);
    EXPECT_EQ(m.sampleFormat, SAMPLE_FORMAT_REAL);
    EXPECT_STREQ(m.channels[0].unit, "m^2/Hz");
    EXPECT_STREQ(m.channels[0].name, "S(f)");
    EXPECT_FLOAT_EQ(m.value(0, 2), 2.5f);
}

TEST(Detrend, TakesOutTheMeanOrTheLeastSquaresLine) {
    // A pure line 3 + 0.5 i: the line takes all of it, the mean its offset.
    std::vector<double> x(101);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = 3 + 0.5 * double(i);
    std::vector<double> line = x, mean = x, none = x;
    detrendValues(line, Detrend::Linear);
    detrendValues(mean, Detrend::Mean);
    detrendValues(none, Detrend::None);
    for (size_t i = 0; i < x.size(); ++i) {
        EXPECT_NEAR(line[i], 0, 1e-12) << i;
        EXPECT_NEAR(mean[i], 0.5 * (double(i) - 50), 1e-12) << i;
        EXPECT_EQ(none[i], x[i]);
    }
    Detrend d = Detrend::None;
    for (const char* name : {"none", "mean", "linear"}) {
        ASSERT_TRUE(detrendFromName(name, d)) << name;
        EXPECT_STREQ(detrendName(d), name);
    }
    EXPECT_FALSE(detrendFromName("Linear", d));
    EXPECT_FALSE(detrendFromName("", d));
}

TEST(VarianceSpectrum, LinearDetrendGivesHm0OfADriftingGauge) {
    // The sea of Hm0 0.1 m with a gauge drifting 2 cm over the record: its
    // line's variance (0.02^2 / 12) is 5 % of m0.
    const Sea still = jonswapSea();
    Sea sea = still;
    const size_t n = sea.block.values.size();
    for (size_t j = 0; j < n; ++j)
        sea.block.values[j] += 0.02 * double(j) / double(n - 1);
    auto hm0 = [&](Detrend d, VarianceSpectrum& s, const BlockValues* block = nullptr) {
        SpectralParameters p;
        std::string why;
        EXPECT_TRUE(varianceSpectrum(block ? *block : sea.block, 1024, d, s, &why)) << why;
        EXPECT_TRUE(spectralParameters(s, SpectralBand{}, p, &why)) << why;
        return p.hm0;
    };
    // The segments' own means take most of the drift out of the bins either
    // way: taken out as the block's line, it is not counted at all; left
    // in, it shows as variance below f1, the line's 0.02^2 / 12.
    VarianceSpectrum linear, mean, none, undrifted;
    const double clean = hm0(Detrend::Linear, undrifted, &still.block);
    EXPECT_NEAR(hm0(Detrend::Linear, linear) / clean, 1, 1e-3);
    EXPECT_NEAR(hm0(Detrend::Mean, mean) / clean, 1, 2e-3);
    EXPECT_NEAR(mean.varianceBelowF1 - linear.varianceBelowF1, 0.02 * 0.02 / 12, 2e-6);
    // Kept whole, the block's mean leaks through the window into bin 1.
    EXPECT_GT(hm0(Detrend::None, none) / clean - 1, 0.01);
    // The density sums to the variance of the block less its least-squares
    // line (fitted here by the normal equations in i, not about the middle).
    double si = 0, sx = 0, sii = 0, six = 0;
    for (size_t j = 0; j < n; ++j) {
        double i = double(j), x = sea.block.values[j];
        si += i, sx += x, sii += i * i, six += i * x;
    }
    const double b = (double(n) * six - si * sx) / (double(n) * sii - si * si);
    const double a = (sx - b * si) / double(n);
    double residual = 0, sum = 0;
    for (size_t j = 0; j < n; ++j) {
        double r = sea.block.values[j] - a - b * double(j);
        residual += r * r / double(n);
    }
    for (size_t j = 1; j < linear.density.size(); ++j)
        sum += linear.density[j] * linear.df;
    EXPECT_NEAR((sum + linear.varianceBelowF1) / residual, 1, 1e-9);
    // The older form keeps its meaning: the mean taken out.
    VarianceSpectrum old;
    ASSERT_TRUE(varianceSpectrum(sea.block, 1024, old, nullptr));
    for (size_t j = 0; j < old.density.size(); ++j)
        ASSERT_NEAR(old.density[j], mean.density[j], 1e-12 * mean.density[j] + 1e-300) << j;
}

TEST(VarianceSpectrum, ALongBlockSplitOverThreadsSumsEverySegmentOnce) {
    // Long enough to be summed on two threads, with an odd number of
    // segments (513) so that one part ends on a lone segment. The reference
    // keeps every segment's coefficients and sums them in order.
    const int32_t segment = 1024, count = 513;
    BlockValues block = emptyBlock(size_t(segment / 2) * (count + 1), 20.0);
    for (size_t j = 0; j < block.values.size(); ++j) {
        double t = double(j) / 20.0;
        block.values[j] = 0.3 * std::sin(2.1 * t) + 0.1 * std::sin(17.0 * t + 1) +
                          0.05 * std::fmod(double(j) * 0.6180339887, 1.0) + 1e-6 * double(j);
    }
    VarianceSpectrum s;
    std::string why;
    ASSERT_TRUE(varianceSpectrum(block, segment, Detrend::Linear, s, &why)) << why;
    ASSERT_EQ(s.segmentCount, count);
    std::vector<double> detrended = block.values;
    detrendValues(detrended, Detrend::Linear);
    SegmentSpectra all;
    ASSERT_TRUE(segmentSpectra(detrended, block.sampleRate, segment, all, &why)) << why;
    std::vector<double> reference(all.bins(), 0.0);
    for (int32_t k = 0; k < count; ++k)
        for (size_t j = 0; j < all.bins(); ++j)
            reference[j] += std::norm(all.coefficients[size_t(k) * all.bins() + j]);
    reference.front() *= 0.5, reference.back() *= 0.5;
    // Welch's density as it is: the mean of the segments' |X|^2 times
    // 2 / (rate sum w^2).
    for (size_t j = 0; j < all.bins(); ++j) {
        const double expected = reference[j] * all.densityFactor / count;
        EXPECT_NEAR(s.density[j], expected, 1e-12 * expected + 1e-300) << j;
    }
}
