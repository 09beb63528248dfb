// Incident and reflected waves from arrays of more than three gauges: a
// reflection coefficient that changes with frequency, the frequencies an
// array cannot separate, and the pair weighting the fit amounts to.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "reflected_sea.h"
#include "waves/reflection.h"
#include "waves/wave_number.h"

using namespace reflected_sea;

TEST(GaugeArrayReflection, KrOfEachFrequencyComesBackAndTheUnseparableAreLeftOut) {
    // Five gauges 0.45 m apart: every spacing is a multiple of 0.45 m, so at
    // L = 0.9 m (k = 2 pi / 0.9) all pairs are half a wave length apart.
    const std::vector<double> x{0.0, 0.45, 0.9, 1.35, 1.8};
    const Sea sea = reflectedSea(x);
    ReflectionResult r;
    std::string why;
    ASSERT_TRUE(separateReflection(sea.gauges, optionsFor(x), r, &why)) << why;
    const double blind = frequencyOf(2 * SEA_PI / 0.9);
    bool blindLeftOut = false;
    for (const FrequencyRange& range : r.leftOut)
        blindLeftOut |= range.from - r.df <= blind && blind <= range.to + r.df;
    EXPECT_TRUE(blindLeftOut) << blind << " Hz " << leftOutText(r.leftOut);
    const size_t blindBand = size_t(std::lround(blind / r.incident.df));
    ASSERT_LT(blindBand, r.separable.size());
    double peak = 0;
    for (double s : r.incident.density)
        peak = std::max(peak, s);
    int checked = 0;
    for (size_t i = 0; i < r.incident.density.size(); ++i) {
        const double f = r.incident.frequency(i);
        if (!r.separable[i] || r.incident.density[i] < 0.1 * peak) {
            continue;
        }
        EXPECT_NEAR(std::sqrt(r.reflected.density[i] / r.incident.density[i]), krOf(f), 0.02)
            << f << " Hz";
        ++checked;
    }
    EXPECT_GE(checked, 10);
    // Where no bin of a band was resolved the band holds no number but 0.
    for (size_t i = 0; i < r.separable.size(); ++i) {
        if (!r.separable[i]) {
            EXPECT_EQ(r.incident.density[i], 0.0) << i;
        }
    }
}

TEST(GaugeArrayReflection, PairWeightsBySpacingAreTheLeastSquaresSolution) {
    // Zelt and Skjelbreia's estimate: each pair's two-gauge solution,
    // averaged with weights sin^2(k dx). Built here on one frequency of the
    // transform for four unevenly spaced gauges and compared with the
    // separation's spectrum of a record holding that one frequency.
    const std::vector<double> x{0.0, 0.3, 0.75, 1.4};
    const size_t n = 4096, bin = 200;
    const double omega = 2 * SEA_PI * bin * RATE / n;
    const double k = waveNumber(omega, DEPTH);
    std::vector<BlockValues> gauges;
    std::vector<std::complex<double>> b;
    for (size_t g = 0; g < x.size(); ++g) {
        BlockValues block = emptyBlock(n, RATE);
        // Not a pure incident and reflected pair: each gauge off by its own
        // bit, as noise would leave it, so the fit is not exact.
        const std::complex<double> c = 0.05 * std::polar(1.0, -k * x[g] + 0.3) +
                                       0.02 * std::polar(1.0, k * x[g] - 1.1) +
                                       0.004 * std::polar(1.0, 2.0 * g);
        for (size_t j = 0; j < n; ++j)
            block.values[j] = std::abs(c) * std::cos(omega * double(j) / RATE + std::arg(c));
        b.push_back(c);
        gauges.push_back(std::move(block));
    }
    std::complex<double> sumI = 0, sumR = 0;
    double sumW = 0;
    for (size_t p = 0; p < x.size(); ++p)
        for (size_t q = p + 1; q < x.size(); ++q) {
            const double s = std::sin(k * (x[q] - x[p]));
            const std::complex<double> ep = std::polar(1.0, k * x[p]),
                                       eq = std::polar(1.0, k * x[q]);
            const std::complex<double> d(0, 2 * s);
            sumI += s * s * (b[p] * eq - b[q] * ep) / d;
            sumR += s * s * (b[q] / ep - b[p] / eq) / d;
            sumW += s * s;
        }
    ReflectionOptions o = optionsFor(x);
    o.band = SpectralBand{};
    o.segment = int32_t(n);
    o.detrend = Detrend::None;
    ReflectionResult r;
    ASSERT_TRUE(separateReflection(gauges, o, r, nullptr));
    // A line of amplitude a holds a^2 / 2 of variance in its bin.
    const double aI = std::abs(sumI / sumW), aR = std::abs(sumR / sumW);
    EXPECT_NEAR(r.incident.density[bin] * r.incident.df, aI * aI / 2, 1e-9 * aI * aI);
    EXPECT_NEAR(r.reflected.density[bin] * r.reflected.df, aR * aR / 2, 1e-9 * aI * aI);
}
