// Start components from the peaks of a block's spectrum: the peaks a user
// would pick by eye, and a fit started from them that finds the waves where a
// start typed 1 % off does not.
#include "waves/spectrum_starts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "aprox/aprox_test_support.h"
#include "aprox/aprox_worker.h"

namespace {

const double RATE = 20.0;
const std::vector<DampedWave> TWO{{0.50013, 0.0, 1.0, 0.3}, {0.62031, 0.0, 0.5, -0.4}};
const double LEVEL = 0.2;

// One channel holding `waves` plus white noise over `count` samples.
void fillMeasure(CMeasure& m, int32_t count, const std::vector<DampedWave>& waves, double sigma) {
    m.channelCount = 1;
    m.sampleCount = count;
    m.sampleRate = RATE;
    m.allocateSamples();
    resetParameters(m.signalParameters[0]);
    std::mt19937 gen(7u);
    std::normal_distribution<double> noise(0.0, sigma);
    for (int32_t j = 0; j < count; ++j)
        m.setSample(0, j, Sample{float(waveValue(LEVEL, waves, j / RATE) + noise(gen)), 0.0f});
}

// The fit of the record from the start frequencies of `list`.
std::vector<double> fittedFrequencies(const CMeasure& m, const std::vector<double>& start) {
    FitData f(m.sampleCount, RATE, [&](int32_t n) { return double(m.value(0, n)); });
    std::vector<DampedWave> waves;
    for (double frequency : start)
        waves.push_back({frequency, 0.0, 0.0, 0.0});
    f.start(waves, 0.0, false, false);
    runAprox(*f.params);
    return std::vector<double>(f.params->frequency, f.params->frequency + start.size());
}

} // namespace

TEST(SpectrumPeaks, LargestSeparatePeaksInOrderOfFrequencyWithTheirOwnEnergy) {
    // Three peaks (tops at bins 3, 8 and 12, the minima 5 and 10 between
    // them) and a rise at the last bin.
    VarianceSpectrum s;
    s.df = 0.1;
    s.density = {9, 1, 2, 4, 2, 1, 3, 5, 8, 5, 0.5, 2, 6, 3, 1, 1.5};
    const std::vector<SpectrumPeak> two = spectrumPeaks(s, 2);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].top, 8u);
    EXPECT_EQ(two[1].top, 12u);
    // Each minimum goes with the peak on its left: bins 6..10 and 11..14.
    EXPECT_EQ(two[0].first, 6u);
    EXPECT_EQ(two[0].last, 10u);
    EXPECT_EQ(two[1].first, 11u);
    EXPECT_EQ(two[1].last, 14u);
    EXPECT_NEAR(two[0].amplitude, std::sqrt(2 * (3 + 5 + 8 + 5 + 0.5) * 0.1), 1e-12);
    EXPECT_NEAR(two[1].amplitude, std::sqrt(2 * (2 + 6 + 3 + 1) * 0.1), 1e-12);
    // Vertex of the parabola through (7, 5), (8, 8), (9, 5): the bin itself.
    EXPECT_NEAR(two[0].frequency, 0.8, 1e-12);
    // (11, 2), (12, 6), (13, 3): 12 + 0.5 (2 - 3) / (2 - 12 + 3) = 12.0714...
    EXPECT_NEAR(two[1].frequency, 0.1 * (12 + 0.5 / 7), 1e-12);
    // Bin 0 (the mean) is no peak; every bin from 1 on belongs to one peak.
    const std::vector<SpectrumPeak> all = spectrumPeaks(s, 10);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].first, 1u);
    EXPECT_EQ(all[3].top, 15u);
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_EQ(all[i].first, all[i - 1].last + 1);
}

TEST(SpectrumPeaks, ARegularWaveGivesItsWaveAndHarmonicNotTheRoundingBetweenThem) {
    // A wave of 0.5 Hz on a bin of the spectrum, with a harmonic 2 % of its
    // amplitude: between the Hann window's nulls only rounding is left, in
    // bumps of its own that once came back as components of amplitude 0.
    CMeasure m;
    fillMeasure(m, 4000, {{0.5, 0.0, 0.08, 0.0}, {1.0, 0.0, 0.0016, 0.0}}, 0.0);
    SignalParameters list;
    std::string why;
    ASSERT_TRUE(spectrumStartComponents(m, BlockRange{0, 0, 4000}, 5, list, &why)) << why;
    ASSERT_EQ(list.componentCount, 2);
    EXPECT_NEAR(list.components[0].frequency, 0.5, 1e-6);
    EXPECT_NEAR(list.components[1].frequency, 1.0, 1e-6);
    EXPECT_NEAR(list.components[1].amplitude, 0.0016, 0.0002);
}

TEST(SpectrumStarts, AutoCountIsReadOrRefused) {
    int k = -1;
    std::string why;
    EXPECT_FALSE(autoComponentCount("list.txt", k, &why));
    EXPECT_TRUE(autoComponentCount("auto:3", k, &why));
    EXPECT_EQ(k, 3);
    for (const char* bad : {"auto:", "auto:0", "auto:11", "auto:2x", "auto:-1"}) {
        why.clear();
        EXPECT_TRUE(autoComponentCount(bad, k, &why)) << bad;
        EXPECT_EQ(k, 0) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
}

TEST(SpectrumStarts, ComponentsOfTwoWavesAndRefusals) {
    CMeasure m;
    fillMeasure(m, 40000, TWO, 0.05);
    SignalParameters list;
    std::string why;
    ASSERT_TRUE(spectrumStartComponents(m, BlockRange{0, 0, 40000}, 3, list, &why)) << why;
    // A third peak would be noise, far below the waves' floor: none is made up.
    ASSERT_EQ(list.componentCount, 2);
    const double df = RATE / 40000;
    int wave = 0;
    for (int i = 0; i < 2; ++i) {
        const SignalComponent& c = list.components[i];
        const DampedWave& w = TWO[size_t(wave++)];
        EXPECT_NEAR(c.frequency, w.frequency, 0.25 * df) << i;
        EXPECT_NEAR(c.amplitude, std::hypot(w.a, w.d), 0.05 * std::hypot(w.a, w.d)) << i;
        EXPECT_EQ(c.k, 5.0);
        EXPECT_EQ(c.eta, 0.0);
    }
    EXPECT_EQ(wave, 2);
    EXPECT_NEAR(list.level, LEVEL, 0.01);
    EXPECT_STREQ(list.components[0].name, "Peak 1");

    // A backwards block is the same samples.
    SignalParameters backwards;
    ASSERT_TRUE(spectrumStartComponents(m, BlockRange{0, 40000, 0}, 3, backwards, &why));
    EXPECT_EQ(backwards.components[1].frequency, list.components[1].frequency);

    const SignalParameters before = list;
    for (const BlockRange& bad : {BlockRange{0, 10, 14}, BlockRange{3, 0, 100}}) {
        why.clear();
        EXPECT_FALSE(spectrumStartComponents(m, bad, 2, list, &why));
        EXPECT_FALSE(why.empty());
    }
    EXPECT_FALSE(spectrumStartComponents(m, BlockRange{0, 0, 100}, 11, list, &why));
    EXPECT_EQ(std::memcmp(&before, &list, sizeof list), 0);
}

TEST(SpectrumStarts, FitFromThemFindsTheWavesWhereAStartOnePercentOffDoesNot) {
    // 2000 s of two waves 0.12 Hz apart, off the bins of the block's spectrum.
    CMeasure m;
    fillMeasure(m, 40000, TWO, 0.05);
    const std::vector<double> typed =
        fittedFrequencies(m, {TWO[0].frequency * 1.01, TWO[1].frequency * 0.99});
    EXPECT_GT(std::fabs(typed[0] / TWO[0].frequency - 1), 1e-3);

    SignalParameters list;
    std::string why;
    ASSERT_TRUE(spectrumStartComponents(m, BlockRange{0, 0, 40000}, 2, list, &why)) << why;
    const std::vector<double> fitted =
        fittedFrequencies(m, {list.components[0].frequency, list.components[1].frequency});
    for (size_t k = 0; k < 2; ++k)
        EXPECT_NEAR(fitted[k], TWO[k].frequency, 1e-5 * TWO[k].frequency) << k;
}
