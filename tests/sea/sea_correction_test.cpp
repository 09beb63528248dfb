// Correction rounds on a simulated flume whose waves come out too small
// above the peak, as a flume's losses make them.
#include <gtest/gtest.h>

#include <cmath>

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
        EXPECT_LT(d.report.bandError, errorBefore) << "round " << round;
        errorBefore = d.report.bandError;
        EXPECT_GE(d.report.gainMin, SEA_GAIN_MIN);
        EXPECT_LE(d.report.gainMax, SEA_GAIN_MAX);
        record = measure(d, p);
    }
    EXPECT_NEAR(measuredHm0(record) / 0.1, 1.0, 0.01);
    VarianceSpectrum s;
    ASSERT_TRUE(varianceSpectrum(record, 0, s, &why)) << why;
    for (double e : bandEnergyErrors(s, d.target))
        EXPECT_LT(std::abs(e), 0.05);
}

TEST(SeaCorrection, FirstRoundReportsTheMeasuredSea) {
    const SeaParameters p = flumeSea();
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    const BlockValues record = measure(d, p);
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
    EXPECT_NEAR(d.report.gainMax, 1.25, 0.1);
    EXPECT_NEAR(d.report.gainMin, 1.0, 0.05);
}

TEST(SeaCorrection, GainsAreSmoothedAndBounded) {
    TargetSpectrum t;
    ASSERT_TRUE(makeTargetSpectrum({SpectrumShape::Table, 1, 1, 0, {{0.0, 10.0}, {1.0, 1.0}}}, 0.1,
                                   1, 9, 0.01, 1000, t, nullptr));
    VarianceSpectrum m;
    m.df = 1;
    m.density.assign(11, 0.0);
    m.density = targetAsMeasured(m, t); // the target met exactly
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
    const std::vector<double> seen = targetAsMeasured(m, t);
    EXPECT_DOUBLE_EQ(three[8],
                     std::sqrt((seen[7] + seen[8] + seen[9]) / (seen[7] + seen[8] / 4 + seen[9])));
    // Outside the band the band's edge gains hold.
    EXPECT_DOUBLE_EQ(one[0], one[1]);
    EXPECT_DOUBLE_EQ(one[10], one[9]);
}

TEST(SeaCorrection, TargetAsTheWindowedSegmentsSeeIt) {
    // One component in the middle of bin 20: the Hann window's power
    // response puts 2/3 of it there and 1/6 in each neighbour.
    TargetSpectrum t;
    t.df = 0.01;
    t.firstBin = t.lastBin = 200;
    t.binDensity = {3.0}; // variance 0.03
    VarianceSpectrum m;
    m.df = 0.1;
    m.density.assign(64, 0.0);
    const std::vector<double> seen = targetAsMeasured(m, t);
    EXPECT_NEAR(seen[20] * m.df, 0.02, 1e-12);
    EXPECT_NEAR(seen[19] * m.df, 0.005, 1e-12);
    EXPECT_NEAR(seen[21] * m.df, 0.005, 1e-12);
    EXPECT_NEAR(seen[18], 0.0, 1e-12);
    // Half-way between bins the main lobe shares it between two bins
    // and the side lobes show.
    t.firstBin = t.lastBin = 205;
    const std::vector<double> between = targetAsMeasured(m, t);
    EXPECT_NEAR(between[20], between[21], 1e-12);
    double sum = 0;
    for (double s : between)
        sum += s * m.df;
    EXPECT_NEAR(sum, 0.03, 1e-4);
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
