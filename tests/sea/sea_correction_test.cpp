// Correction rounds on simulated flumes: one whose waves come out too small
// above the peak, as a flume's losses make them, and one with a gain that
// grows across the band, a lag, a ripple and gauge noise.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "numeric/constants.h"
#include "sea/repeat_components.h"
#include "sea/sea_correction.h"
#include "support/sea_flume.h"

namespace {

SeaParameters flumeSea() {
    SeaParameters p;
    p.hm0 = 0.1;
    p.tp = 1.6;
    p.depth = 0.6;
    p.paddle.type = PaddleType::Flap;
    p.duration = 1800;
    return p;
}

double lossyFlume(double f) {
    return f > 0.625 ? 0.8 : 1.0;
}

BlockValues measure(const SeaDrive& d, const SeaParameters& p) {
    return flumeRecord(flumeElevationBins(d.displacement, p, lossyFlume),
                       int32_t(d.displacement.size()), p.dt);
}

double measuredHm0(const BlockValues& record) {
    double sum = 0;
    for (double x : record.values)
        sum += x * x;
    return 4 * std::sqrt(sum / double(record.values.size()));
}

// Gain 0.7 at the band's low end rising to 1.1 at its high end, a 5 %
// ripple, and the gauge 0.8 s down the flume.
std::complex<double> roughFlume(double f) {
    const double gain = 0.7 + 0.4 * std::clamp((f - 0.3125) / (1.875 - 0.3125), 0.0, 1.0);
    const double ripple = 1 + 0.05 * std::sin(2 * PI * f / 0.17);
    return std::polar(gain * ripple, -2 * PI * f * 0.8);
}

// The band errors of a record over one whole period against the target.
std::vector<double> trueBandErrors(const BlockValues& sea, const TargetSpectrum& t) {
    RepeatComponents c;
    const RepeatWindow one{0, int64_t(sea.values.size()), 1};
    EXPECT_TRUE(repeatComponents(sea.values, one, t, c, nullptr));
    VarianceSpectrum s;
    s.df = t.df;
    s.density.assign(t.lastBin + 1, 0.0);
    for (size_t i = 0; i < c.power.size(); ++i)
        s.density[t.firstBin + i] = 2 * c.power[i] / t.df;
    // At the target's own resolution its bins are the target.
    return bandEnergyErrors(s, t);
}

double largest(const std::vector<double>& errors) {
    double e = 0;
    for (double x : errors)
        e = std::max(e, std::abs(x));
    return e;
}

} // namespace

TEST(SeaCorrection, ThreeRoundsBringTheFlumeToTheTarget) {
    const SeaParameters p = flumeSea();
    SeaDrive d;
    std::string why;
    ASSERT_TRUE(synthesiseSea(p, d, &why)) << why;
    BlockValues record = measure(d, p);
    ASSERT_LT(measuredHm0(record), 0.095); // the loss is there to correct
    double errorBefore = 1;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(correctSeaDrive(p, record, SEA_DEFAULT_SMOOTH, d, &why)) << why;
        EXPECT_LT(d.report.bandError, std::max(errorBefore, 0.03)) << "round " << round;
        errorBefore = d.report.bandError;
        EXPECT_GE(d.report.gainMin, SEA_GAIN_MIN);
        EXPECT_LE(d.report.gainMax, SEA_GAIN_MAX);
        EXPECT_EQ(d.report.measuredPeriods, 1);
        EXPECT_TRUE(d.report.warning.empty()) << d.report.warning;
        record = measure(d, p);
    }
    EXPECT_NEAR(measuredHm0(record) / 0.1, 1.0, 0.01);
    // What is left is the ramps' leakage out of the weakest tenth, which a
    // perfect flume shows as well.
    EXPECT_LT(largest(trueBandErrors(record, d.target)), 0.03);
}

TEST(SeaCorrection, ARoughNoisyFlumeReachesTheTargetInItsTrueSea) {
    const SeaParameters p = flumeSea();
    SeaDrive d;
    std::string why;
    ASSERT_TRUE(synthesiseSea(p, d, &why)) << why;
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 0.001);
    const int32_t n = int32_t(d.displacement.size());
    BlockValues sea;
    for (int round = 0; round <= 3; ++round) {
        sea = flumeRecord(flumeElevationBins(d.displacement, p, roughFlume), n, p.dt);
        if (round == 3) break;
        BlockValues gauge = sea;
        for (double& x : gauge.values)
            x += noise(random);
        ASSERT_TRUE(correctSeaDrive(p, gauge, SEA_DEFAULT_SMOOTH, d, &why)) << why;
        // What the round reports is what the sea was, not the noise.
        const double truth = largest(trueBandErrors(sea, d.target));
        EXPECT_NEAR(d.report.bandError, truth, truth / 3) << "round " << round;
    }
    EXPECT_NEAR(measuredHm0(sea) / 0.1, 1.0, 0.01);
    for (double e : trueBandErrors(sea, d.target))
        EXPECT_LT(std::abs(e), 0.03);
}

TEST(SeaCorrection, ARecordThatIsTheTargetLeavesTheDriveAlone) {
    for (SeaMethod method : {SeaMethod::Phase, SeaMethod::Amplitude})
        for (uint64_t seed = 1; seed <= 6; ++seed) {
            SeaParameters p = flumeSea();
            p.method = method;
            p.seed = seed;
            SeaDrive d;
            std::string why;
            ASSERT_TRUE(synthesiseSea(p, d, &why)) << why;
            // The sea a perfect flume makes of the drive, ramps and all.
            const BlockValues perfect = flumeRecord(flumeElevationBins(d.displacement, p),
                                                    int32_t(d.displacement.size()), p.dt);
            ASSERT_TRUE(correctSeaDrive(p, perfect, SEA_DEFAULT_SMOOTH, d, &why)) << why;
            EXPECT_NEAR(d.report.gainMin, 1, 0.01) << seed;
            EXPECT_NEAR(d.report.gainMax, 1, 0.01) << seed;
            // The ramps' leakage is what is left, in the sea's weakest tenth.
            if (method == SeaMethod::Phase) {
                EXPECT_LT(d.report.bandError, 0.03) << seed;
            }
        }
}

TEST(SeaCorrection, MeasuresWholeRepeatPeriodsAfterTheRampWhereTheRecordHoldsThem) {
    SeaParameters p = flumeSea();
    p.duration = 300;
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    const BlockValues once = measure(d, p);
    // Two and a half periods of the looped drive: two are measured, from the
    // end of the first ramp-up.
    BlockValues looped = once;
    looped.values.insert(looped.values.end(), once.values.begin(), once.values.end());
    looped.values.insert(looped.values.end(), once.values.begin(),
                         once.values.begin() + int64_t(once.values.size() / 2));
    SeaDrive twice = d;
    std::string why;
    ASSERT_TRUE(correctSeaDrive(p, looped, SEA_DEFAULT_SMOOTH, twice, &why)) << why;
    EXPECT_EQ(twice.report.measuredPeriods, 2);
    EXPECT_EQ(twice.report.measuredFirst, int64_t(std::lround(seaRampSeconds(p) / p.dt)));
    EXPECT_EQ(twice.report.measuredLast - twice.report.measuredFirst + 1,
              2 * int64_t(once.values.size()));
    EXPECT_NEAR(twice.report.gainMax, 1.25, 0.01);
    // A block shorter than a period is measured by Welch, and says so.
    BlockValues part = once;
    part.values.resize(part.values.size() - 1);
    ASSERT_TRUE(correctSeaDrive(p, part, SEA_DEFAULT_SMOOTH, d, &why)) << why;
    EXPECT_EQ(d.report.measuredPeriods, 0);
    EXPECT_EQ(d.report.measuredLast, int64_t(part.values.size()) - 1);
    EXPECT_NE(d.report.warning.find("less than one repeat period (300 s)"), std::string::npos)
        << d.report.warning;
}

TEST(SeaCorrection, RepeatWindowTakesWholePeriodsAfterTheStartUp) {
    const RepeatWindow none = repeatWindow(999, 10, 100, 5);
    EXPECT_EQ(none.periods, 0);
    EXPECT_EQ(none.count, 0);
    const RepeatWindow exact = repeatWindow(1000, 10, 100, 5);
    EXPECT_EQ(exact.periods, 1);
    EXPECT_EQ(exact.first, 0); // no room after the ramp: as late as it goes
    EXPECT_EQ(exact.count, 1000);
    const RepeatWindow room = repeatWindow(1500, 10, 100, 5);
    EXPECT_EQ(room.first, 50);
    EXPECT_EQ(room.count, 1000);
    const RepeatWindow little = repeatWindow(2020, 10, 100, 5);
    EXPECT_EQ(little.periods, 2);
    EXPECT_EQ(little.first, 20);
    // 0.02 s steps of a drive recorded at 60 Hz: a period is 3 values a 0.05 s.
    EXPECT_EQ(repeatWindow(6000, 60, 100, 0).count, 6000);
}

TEST(SeaCorrection, FirstRoundOfWelchReportsTheMeasuredSea) {
    const SeaParameters p = flumeSea();
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    BlockValues record = measure(d, p);
    record.values.pop_back(); // short of a period: Welch
    std::string why;
    ASSERT_TRUE(correctSeaDrive(p, record, SEA_DEFAULT_SMOOTH, d, &why)) << why;
    EXPECT_NEAR(d.report.measuredHm0, measuredHm0(record), 0.002);
    EXPECT_NEAR(d.report.measuredTp, 1.6, 0.05);
    // Energy above the peak came out at 0.8^2 of the target.
    EXPECT_NEAR(d.report.bandError, 0.36, 0.03);
    // The gains undo the loss away from the step at the peak, where the
    // spectrum's segments and the smoothing blur it; a Welch bin of a
    // record this long still wanders by a few per cent.
    VarianceSpectrum s;
    ASSERT_TRUE(varianceSpectrum(record, 0, s, &why)) << why;
    const std::vector<double> gains = correctionGains(s, d.target, SEA_DEFAULT_SMOOTH);
    for (double f : {0.4, 0.5, 0.58})
        EXPECT_NEAR(gains[size_t(std::lround(f / s.df))], 1.0, 0.05) << f;
    for (double f : {0.7, 0.9, 1.3, 1.8})
        EXPECT_NEAR(gains[size_t(std::lround(f / s.df))], 1.25, 0.06) << f;
}

TEST(SeaCorrection, GainsAreSmoothedBoundedAndLeaveTheNoiseAlone) {
    TargetSpectrum t;
    ASSERT_TRUE(
        makeTargetSpectrum(oneShape(SpectrumShape::Table, 1, 1, 0, {{0.0, 10.0}, {1.0, 1.0}}), 0.1,
                           1, 9, 0.01, 1000, t, nullptr));
    VarianceSpectrum m;
    m.df = 1;
    m.density.assign(13, 0.0);            // the band is 1 .. 9 Hz
    m.density = targetAtResolution(m, t); // the target met exactly
    const std::vector<double> met = correctionGains(m, t, 1);
    m.density[3] *= 100; // far too much: the gain stops at 0.5
    m.density[6] = 0;    // nothing: the gain stops at 2
    m.density[8] /= 4;   // a quarter: sqrt(4) = 2 alone, less when averaged
    const std::vector<double> one = correctionGains(m, t, 1);
    EXPECT_DOUBLE_EQ(one[3], 0.5);
    EXPECT_DOUBLE_EQ(one[6], 2.0);
    EXPECT_DOUBLE_EQ(one[8], 2.0);
    for (double g : met)
        EXPECT_DOUBLE_EQ(g, 1.0);
    EXPECT_DOUBLE_EQ(one[5], 1.0);
    const std::vector<double> three = correctionGains(m, t, 3);
    const std::vector<double> wanted = targetAtResolution(m, t);
    EXPECT_DOUBLE_EQ(three[8], std::sqrt((wanted[7] + wanted[8] + wanted[9]) /
                                         (wanted[7] + wanted[8] / 4 + wanted[9])));
    // Outside the band the band's edge gains hold.
    EXPECT_DOUBLE_EQ(one[0], one[1]);
    EXPECT_DOUBLE_EQ(one[12], one[9]);
    // A floor of noise under the band: where the waves stand well above it
    // the noise is taken off; where they are within it the gain stays 1
    // rather than halving the drive there round after round.
    VarianceSpectrum noisy = m;
    const double floor = wanted[9] * 0.8;
    for (double& s : noisy.density)
        s = floor;
    noisy.density[2] = wanted[2] + floor;
    const std::vector<double> heard = correctionGains(noisy, t, 1);
    EXPECT_NEAR(spectrumNoiseFloor(noisy, t), floor, 1e-12);
    EXPECT_NEAR(heard[2], 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(heard[9], 1.0);
}

TEST(SeaCorrection, RepeatGainsCompareTheFlumesTransferWithTheTarget) {
    // A flume that doubles the elevation over a drive made for a transfer of 1.
    const std::vector<double> generated = {1, 1, 1, 1, 1};
    const std::vector<double> wanted = {1, 1, 1, 1, 0.01};
    const std::vector<double> played = {0.9, 0.9, 0.9, 0.9, 0.9}; // the ramps took 10 %
    std::vector<double> measured(5, 4 * 0.9);
    measured[4] = 4 * 0.9 * 0.01;
    const std::vector<double> g = repeatGains(measured, 0, played, generated, wanted, 1);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(g[i], 0.5, 1e-12);
    EXPECT_NEAR(g[4], 0.5, 1e-12);
    // The last component drowned in the noise: left as it is.
    const std::vector<double> drowned = repeatGains(measured, 0.05, played, generated, wanted, 1);
    EXPECT_NEAR(drowned[0], std::sqrt(1 / ((3.6 - 0.05) / 0.9)), 1e-12);
    EXPECT_DOUBLE_EQ(drowned[4], 1.0);
    // A bin of the played drive that is mostly other components' leakage.
    std::vector<double> leaky = played;
    leaky[4] = 1.6 * generated[4];
    EXPECT_DOUBLE_EQ(repeatGains(measured, 0, leaky, generated, wanted, 1)[4], 1.0);
    leaky[4] = generated[4] / 1.6; // or cancels most of it
    EXPECT_DOUBLE_EQ(repeatGains(measured, 0, leaky, generated, wanted, 1)[4], 1.0);
}

TEST(SeaCorrection, DriveReadBackGivesItsComponents) {
    SeaParameters p = flumeSea();
    p.duration = 300;
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    // As written to a file: single precision.
    std::vector<double> stored;
    for (double x : d.displacement)
        stored.push_back(double(float(x)));
    SeaDrive back;
    back.target = d.target;
    std::string why;
    ASSERT_TRUE(componentsFromDisplacement(p, stored, back, &why)) << why;
    ASSERT_EQ(back.components.size(), d.components.size());
    double largest = 0, worst = 0;
    for (size_t i = 0; i < d.components.size(); ++i) {
        largest = std::max(largest, std::abs(d.components[i]));
        worst = std::max(worst, std::abs(back.components[i] - d.components[i]));
    }
    EXPECT_LT(worst, 1e-5 * largest);
    // A drive of another length has no components on these frequencies.
    stored.resize(stored.size() / 2);
    EXPECT_FALSE(componentsFromDisplacement(p, stored, back, &why));
    EXPECT_EQ(why, "the drive's length is not that of the sea's parameters");
}

TEST(SeaCorrection, RefusesWhatCannotBeCorrected) {
    SeaParameters p = flumeSea();
    p.duration = 300;
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    BlockValues shortRecord;
    shortRecord.sampleRate = 50;
    shortRecord.values.assign(100, 0.0);
    std::string why;
    EXPECT_FALSE(correctSeaDrive(p, shortRecord, 5, d, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(correctSeaDrive(p, measure(d, p), 0, d, &why));
    EXPECT_EQ(why, "--smooth must be a whole number of bins >= 1");
    // A gauge that stood still (or the wrong channel) would double the drive.
    const std::vector<double> before = d.displacement;
    for (double level : {0.0, 0.3}) {
        BlockValues still;
        still.sampleRate = 50;
        still.values.assign(15000, level);
        EXPECT_FALSE(correctSeaDrive(p, still, 5, d, &why));
        EXPECT_EQ(why, "the measured record holds no waves in the band: Hm0 0 m there, the "
                       "target's 0.1 m");
        EXPECT_EQ(d.displacement, before);
    }
}
