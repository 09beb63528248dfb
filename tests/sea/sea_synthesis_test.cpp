// The drive of an irregular sea, passed back through the paddle's transfer
// function: the sea it makes must be the target.
#include <gtest/gtest.h>

#include <cmath>

#include "sea/sea_synthesis.h"
#include "support/sea_flume.h"

namespace {

// The example sea of a flume lab: JONSWAP Hm0 0.1 m, Tp 1.6 s, gamma 3.3 in
// 0.6 m of water, 30 minutes at 50 Hz.
SeaParameters exampleSea(PaddleType paddle) {
    SeaParameters p;
    p.hm0 = 0.1;
    p.tp = 1.6;
    p.gamma = 3.3;
    p.depth = 0.6;
    p.paddle.type = paddle;
    p.dt = 0.02;
    p.duration = 1800;
    return p;
}

// Energies (m^2) of ten equal bands of the target's band: the target's and
// the elevation bins'.
struct BandEnergies {
    std::vector<double> target, made;
};

BandEnergies bandEnergies(const SeaDrive& d, const std::vector<std::complex<double>>& bins) {
    BandEnergies b{std::vector<double>(10), std::vector<double>(10)};
    const size_t count = d.target.lastBin - d.target.firstBin + 1;
    for (size_t i = 0; i < count; ++i) {
        const size_t band = std::min<size_t>(9, i * 10 / count);
        b.target[band] += d.target.binDensity[i] * d.target.df;
        b.made[band] += 2 * std::norm(bins[d.target.firstBin + i]);
    }
    return b;
}

double hm0Of(const std::vector<std::complex<double>>& bins) {
    double m0 = 0;
    for (const auto& e : bins)
        m0 += 2 * std::norm(e);
    return 4 * std::sqrt(m0);
}

} // namespace

TEST(SeaSynthesis, DriveMakesTheTargetSeaWithEitherPaddle) {
    for (PaddleType paddle : {PaddleType::Piston, PaddleType::Flap}) {
        SeaParameters p = exampleSea(paddle);
        SeaDrive d;
        std::string why;
        ASSERT_TRUE(synthesiseSea(p, d, &why)) << why;
        ASSERT_EQ(d.displacement.size(), 90000u);
        const auto bins = flumeElevationBins(d.displacement, p);
        EXPECT_NEAR(hm0Of(bins) / 0.1, 1.0, 0.005);
        // The elevation the synthesis reports is that sea (the ramps, applied
        // to both, differ only in how they meet the transfer function).
        double sum = 0;
        for (double x : d.elevation)
            sum += x * x;
        EXPECT_NEAR(4 * std::sqrt(sum / double(d.elevation.size())), hm0Of(bins), 1e-5);
        // The ramps smear the peak's energy over a few tenths of a hertz,
        // which moves a weak band's energy by a few per cent; the sea
        // between them is the target in every band.
        p.ramp = 0;
        ASSERT_TRUE(synthesiseSea(p, d, &why)) << why;
        const BandEnergies b = bandEnergies(d, flumeElevationBins(d.displacement, p));
        for (size_t i = 0; i < b.target.size(); ++i)
            EXPECT_NEAR(b.made[i] / b.target[i], 1.0, 0.02) << "band " << i;
        EXPECT_DOUBLE_EQ(d.report.hm0, 0.1);
        EXPECT_NEAR(d.report.tp, 1.6, 0.01);
    }
}

TEST(SeaSynthesis, RandomAmplitudesMeetTheTargetOnAverage) {
    SeaParameters p = exampleSea(PaddleType::Piston);
    p.method = SeaMethod::Amplitude;
    BandEnergies mean{std::vector<double>(10), std::vector<double>(10)};
    double hm0 = 0;
    const int seeds = 50;
    for (int seed = 1; seed <= seeds; ++seed) {
        p.seed = uint64_t(seed);
        SeaDrive d;
        ASSERT_TRUE(synthesiseSea(p, d, nullptr));
        const auto bins = flumeElevationBins(d.displacement, p);
        const BandEnergies b = bandEnergies(d, bins);
        for (size_t i = 0; i < 10; ++i) {
            mean.target[i] += b.target[i] / seeds;
            mean.made[i] += b.made[i] / seeds;
        }
        hm0 += hm0Of(bins) / seeds;
    }
    EXPECT_NEAR(hm0 / 0.1, 1.0, 0.02);
    for (size_t i = 0; i < 10; ++i)
        EXPECT_NEAR(mean.made[i] / mean.target[i], 1.0, 0.02) << "band " << i;
}

TEST(SeaSynthesis, SeedGivesTheSameSeaBitForBit) {
    SeaParameters p = exampleSea(PaddleType::Flap);
    p.duration = 120;
    for (SeaMethod method : {SeaMethod::Phase, SeaMethod::Amplitude}) {
        p.method = method;
        SeaDrive a, b, c;
        p.seed = 7;
        ASSERT_TRUE(synthesiseSea(p, a, nullptr));
        ASSERT_TRUE(synthesiseSea(p, b, nullptr));
        p.seed = 8;
        ASSERT_TRUE(synthesiseSea(p, c, nullptr));
        EXPECT_EQ(a.displacement, b.displacement);
        EXPECT_EQ(a.velocity, b.velocity);
        EXPECT_NE(a.displacement, c.displacement);
    }
}

TEST(SeaSynthesis, VelocityIsTheDerivativeOfTheDisplacementRampsIncluded) {
    SeaParameters p = exampleSea(PaddleType::Piston);
    p.duration = 60;
    p.dt = 0.005; // fine steps, so that differences approximate the derivative
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    const auto& x = d.displacement;
    for (size_t i = 1; i + 1 < x.size(); ++i) {
        const double difference = (x[i + 1] - x[i - 1]) / (2 * p.dt);
        ASSERT_NEAR(d.velocity[i], difference, 0.01 * d.report.largestVelocity) << i;
    }
    // At rest at both ends.
    EXPECT_LT(std::abs(x.front()), 1e-6 * d.report.largestDisplacement);
    EXPECT_LT(std::abs(x.back()), 1e-6 * d.report.largestDisplacement);
    EXPECT_LT(std::abs(d.velocity.front()), 1e-3 * d.report.largestVelocity);
}

TEST(SeaSynthesis, RampsOfTwoPeakPeriodsByDefault) {
    SeaParameters p = exampleSea(PaddleType::Piston);
    p.duration = 60;
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    EXPECT_DOUBLE_EQ(d.report.ramp, 3.2);
    SeaDrive steady;
    p.ramp = 0;
    ASSERT_TRUE(synthesiseSea(p, steady, nullptr));
    // 3.2 s at 50 Hz: the first 160 samples are weighted, the rest not.
    EXPECT_LT(std::abs(d.displacement[80] / steady.displacement[80] - 0.5), 0.02);
    EXPECT_EQ(d.displacement[160], steady.displacement[160]);
    EXPECT_EQ(d.displacement[2839], steady.displacement[2839]);
    EXPECT_NE(d.displacement[2840], steady.displacement[2840]);
}

TEST(SeaSynthesis, ReportsTheDrivesExtremes) {
    SeaParameters p = exampleSea(PaddleType::Piston);
    p.duration = 300;
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    const auto [low, high] = std::minmax_element(d.displacement.begin(), d.displacement.end());
    EXPECT_DOUBLE_EQ(d.report.largestStroke, *high - *low);
    double fastest = 0;
    for (double v : d.velocity)
        fastest = std::max(fastest, std::abs(v));
    EXPECT_DOUBLE_EQ(d.report.largestVelocity, fastest);
    EXPECT_EQ(d.report.samples, 15000);
}

TEST(SeaSynthesis, LimitsRefuseAndSayByHowMuch) {
    SeaParameters p = exampleSea(PaddleType::Piston);
    p.duration = 300;
    SeaDrive free;
    ASSERT_TRUE(synthesiseSea(p, free, nullptr));
    p.maxStroke = free.report.largestStroke / 2;
    SeaDrive d;
    std::string why;
    EXPECT_FALSE(synthesiseSea(p, d, &why));
    EXPECT_NE(why.find("the drive needs a stroke of"), std::string::npos) << why;
    EXPECT_NE(why.find("(100.0 %) more than the limit"), std::string::npos) << why;
    EXPECT_DOUBLE_EQ(d.report.largestStroke, free.report.largestStroke);
    p.maxStroke = free.report.largestStroke * 1.01;
    p.maxVelocity = free.report.largestVelocity * 0.8;
    EXPECT_FALSE(synthesiseSea(p, d, &why));
    EXPECT_NE(why.find("velocity"), std::string::npos) << why;
    p.maxVelocity = free.report.largestVelocity * 1.01;
    EXPECT_TRUE(synthesiseSea(p, d, &why)) << why;
}

// A drive of NaN reports a stroke of 0 and so passes every limit: it is
// refused wherever it comes from, a table of densities near the smallest
// double among them.
TEST(SeaSynthesis, DriveThatIsNotFiniteIsRefused) {
    SeaParameters p = exampleSea(PaddleType::Piston);
    p.duration = 300;
    p.maxStroke = 0.5;
    SeaDrive d;
    std::string why;
    ASSERT_TRUE(prepareSea(p, d, &why)) << why;
    d.components[3] = std::complex<double>(NAN, 0);
    EXPECT_FALSE(renderSeaDrive(p, d, &why));
    EXPECT_EQ(why.rfind("the drive is not a finite number at sample 0", 0), 0u) << why;
    p.spectrum = SpectrumShape::Table;
    p.table = {{0.1, 2}, {1e-320, 1e-320}};
    ASSERT_EQ(validateSeaParameters(p), "");
    EXPECT_FALSE(synthesiseSea(p, d, &why));
    EXPECT_EQ(why, "the spectrum's densities are too small to be scaled to Hm0");
}

TEST(SeaSynthesis, RegularWaveOfGivenHeightAndPeriod) {
    SeaParameters p = exampleSea(PaddleType::Flap);
    p.regular = true;
    p.regularHeight = 0.08;
    p.regularPeriod = 1.37; // not one of the repeat period's frequencies
    p.duration = 120;
    SeaDrive d;
    std::string why;
    ASSERT_TRUE(synthesiseSea(p, d, &why)) << why;
    const double transfer = heightToStrokeAt(p.paddle, 1 / 1.37, 0.6);
    const auto [low, high] = std::minmax_element(d.elevation.begin(), d.elevation.end());
    EXPECT_NEAR(*high - *low, 0.08, 1e-4);
    EXPECT_NEAR(d.report.largestStroke, 0.08 / transfer, 1e-4);
    EXPECT_DOUBLE_EQ(d.report.ramp, 2 * 1.37);
    EXPECT_TRUE(d.target.binDensity.empty());
    // Without ramps: the crest passes the paddle as it moves forward
    // fastest, a quarter period before its furthest forward position.
    p.ramp = 0;
    ASSERT_TRUE(synthesiseSea(p, d, &why)) << why;
    EXPECT_NEAR(d.elevation[0], 0.04, 1e-12);
    EXPECT_NEAR(d.displacement[0], 0.0, 1e-12);
    EXPECT_GT(d.velocity[0], 0.0);
    const size_t quarter = size_t(std::lround(1.37 / 4 / p.dt));
    EXPECT_NEAR(d.displacement[quarter], d.report.largestDisplacement, 1e-3);
}

TEST(SeaSynthesis, IrregularDriveLagsItsSeaByAQuarterPeriod) {
    SeaParameters p = exampleSea(PaddleType::Flap);
    p.duration = 120;
    p.ramp = 0;
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    const auto bins = flumeElevationBins(d.displacement, p);
    const BlockValues sea = flumeRecord(bins, int32_t(d.displacement.size()), p.dt);
    for (size_t i = 0; i < sea.values.size(); i += 13)
        ASSERT_NEAR(sea.values[i], d.elevation[i], 1e-12) << i;
}

TEST(SeaSynthesis, DriveMeasurementCarriesMetres) {
    SeaParameters p = exampleSea(PaddleType::Piston);
    p.duration = 60;
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    CMeasure m;
    ASSERT_TRUE(seaDriveMeasure(d, m));
    EXPECT_EQ(m.channelCount, 2);
    EXPECT_EQ(m.sampleCount, 3000);
    EXPECT_DOUBLE_EQ(m.sampleRate, 50.0);
    EXPECT_STREQ(m.channels[0].unit, "m");
    EXPECT_STREQ(m.channels[1].unit, "m/s");
    EXPECT_EQ(m.value(1, 1500), float(d.velocity[1500]));

    // Shown in a window, the sea the drive makes comes as a third channel.
    CMeasure shown;
    ASSERT_TRUE(seaDriveMeasure(d, shown, true));
    ASSERT_EQ(shown.channelCount, 3);
    EXPECT_STREQ(shown.channels[2].name, "Target elevation");
    EXPECT_EQ(shown.value(0, 700), m.value(0, 700));
    EXPECT_EQ(shown.value(2, 1500), float(d.elevation[1500]));
}
