// Gauge calibration: finding where the gauge stood still, the fit through
// the levels, and the refusals a user needs when the record or the levels
// are not what they should be.
#include "measure/gauge_calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr double RATE = 50.0;

// A gauge whose reading is (level - constant) / coefficient, held 8 s at
// each level and moved to the next over 3 s, with noise of `noise` in the
// reading's unit; 2 s of the first level before it counts.
std::vector<double> calibrationRecord(const std::vector<double>& levels, double coefficient,
                                      double constant, double noise, unsigned seed) {
    std::mt19937 gen(seed);
    std::normal_distribution<double> normal(0, noise);
    std::vector<double> raw;
    auto reading = [&](double level) { return (level - constant) / coefficient; };
    for (size_t i = 0; i < levels.size(); ++i) {
        for (int j = 0; j < int(8 * RATE); ++j)
            raw.push_back(reading(levels[i]) + normal(gen));
        if (i + 1 == levels.size()) break;
        for (int j = 0; j < int(3 * RATE); ++j) {
            const double part = double(j) / (3 * RATE);
            raw.push_back(reading(levels[i] + part * (levels[i + 1] - levels[i])) + normal(gen));
        }
    }
    return raw;
}

const std::vector<double> LEVELS{-0.10, -0.05, 0.0, 0.05, 0.10};

} // namespace

TEST(GaugeCalibration, NoisyRecordGivesBackItsCoefficientAndConstant) {
    // 0.0001 m a count and -0.3 m at count 0, noise of 3 counts (0.6 % of
    // a step between levels).
    for (unsigned seed : {1u, 2u, 3u}) {
        std::vector<double> raw = calibrationRecord(LEVELS, 0.0001, -0.3, 3.0, seed);
        CalibrationOptions options;
        options.levels = LEVELS;
        GaugeCalibration c;
        std::string why;
        ASSERT_TRUE(calibrateGauge(raw, RATE, options, c, &why)) << why;
        ASSERT_EQ(c.stretches.size(), 5u);
        EXPECT_NEAR(c.coefficient, 0.0001, 0.005 * 0.0001) << seed;
        EXPECT_NEAR(c.constant, -0.3, 0.005 * 0.3) << seed;
        EXPECT_GT(c.r2, 0.9999);
        EXPECT_LT(c.largestResidual, 0.001);
        // Each stretch lies inside its level's 8 s.
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_GE(c.stretches[i].from, int32_t(i * 11 * RATE)) << i;
            EXPECT_LE(c.stretches[i].to, int32_t((i * 11 + 8) * RATE)) << i;
            EXPECT_GT(c.stretches[i].to - c.stretches[i].from, int32_t(6 * RATE)) << i;
        }
    }
}

TEST(GaugeCalibration, SpikeInAStretchLeavesItOneLevel) {
    std::vector<double> raw = calibrationRecord(LEVELS, 0.0001, -0.3, 1.0, 4);
    for (int j = 0; j < 5; ++j)
        raw[size_t(4 * RATE) + size_t(j)] += 300; // a knock on the gauge at 4 s
    const std::vector<SteadyStretch> found = findSteadyStretches(raw, RATE, 5);
    ASSERT_EQ(found.size(), 5u);
    EXPECT_LT(found[0].from, int32_t(4 * RATE));
    EXPECT_GT(found[0].to, int32_t(5 * RATE));
}

TEST(GaugeCalibration, WindowsNameTheStretchesInSeconds) {
    std::vector<double> raw = calibrationRecord(LEVELS, 0.0001, -0.3, 3.0, 5);
    CalibrationOptions options;
    options.levels = LEVELS;
    for (int i = 0; i < 5; ++i) {
        options.windows.push_back(11.0 * i + 1);
        options.windows.push_back(11.0 * i + 7);
    }
    GaugeCalibration c;
    ASSERT_TRUE(calibrateGauge(raw, RATE, options, c, nullptr));
    EXPECT_EQ(c.stretches[2].from, int32_t(23 * RATE));
    EXPECT_EQ(c.stretches[2].to, int32_t(29 * RATE));
    EXPECT_NEAR(c.coefficient, 0.0001, 0.005 * 0.0001);
    std::string why;
    options.windows[1] = 0.5; // 1 s to 0.5 s
    EXPECT_FALSE(calibrateGauge(raw, RATE, options, c, &why));
    EXPECT_NE(why.find("not a forward stretch"), std::string::npos) << why;
    options.windows = {1, 7, 12, 500};
    EXPECT_FALSE(calibrateGauge(raw, RATE, options, c, &why));
    EXPECT_NE(why.find("not a forward stretch"), std::string::npos) << why;
}

TEST(GaugeCalibration, RefusesWhatCannotGiveATrustworthyLine) {
    std::vector<double> raw = calibrationRecord(LEVELS, 0.0001, -0.3, 3.0, 6);
    CalibrationOptions options;
    GaugeCalibration c;
    std::string why;
    options.levels = {0.1};
    EXPECT_FALSE(calibrateGauge(raw, RATE, options, c, &why));
    EXPECT_EQ(why, "a calibration needs at least two levels");
    options.levels = {-0.15, -0.10, -0.05, 0.0, 0.05, 0.10};
    EXPECT_FALSE(calibrateGauge(raw, RATE, options, c, &why));
    EXPECT_EQ(why, "found 5 steady stretches for 6 levels");
    // Two levels typed the wrong way round: the readings correlate with
    // them by r = 0.0225 / 0.025 = 0.9, r^2 = 0.81.
    options.levels = {-0.10, -0.05, 0.05, 0.0, 0.10};
    EXPECT_FALSE(calibrateGauge(raw, RATE, options, c, &why));
    EXPECT_NEAR(c.r2, 0.81, 1e-3);
    EXPECT_EQ(why.rfind("the fit's r^2 is 0.8", 0), 0u) << why;
    EXPECT_NE(why.find("below 0.99"), std::string::npos) << why;
    options.force = true;
    EXPECT_TRUE(calibrateGauge(raw, RATE, options, c, &why));
    EXPECT_GT(c.largestResidual, 0.02);
    options.levels = {0.1, 0.1, 0.1, 0.1, 0.1};
    EXPECT_FALSE(calibrateGauge(raw, RATE, options, c, &why));
    EXPECT_EQ(why, "the levels are all the same");
}

// A level that is no number, or levels whose squares overflow, would fit a
// line of NaN that calibrate --apply writes into a record.
TEST(GaugeCalibration, RefusesLevelsThatGiveNoFiniteLine) {
    const std::vector<double> raw = calibrationRecord(LEVELS, 0.0001, -0.3, 3.0, 6);
    CalibrationOptions options;
    options.force = true;
    GaugeCalibration c;
    std::string why;
    options.levels = {-0.1, NAN, 0.0, 0.05, 0.1};
    EXPECT_FALSE(calibrateGauge(raw, RATE, options, c, &why));
    EXPECT_EQ(why, "level 2 is not a finite number");
    options.levels = {-0.1, -0.05, 0.0, 0.05, INFINITY};
    EXPECT_FALSE(calibrateGauge(raw, RATE, options, c, &why));
    EXPECT_EQ(why, "level 5 is not a finite number");
    options.levels = {1e308, -1e308, 0, 1, 2};
    EXPECT_FALSE(calibrateGauge(raw, RATE, options, c, &why));
    EXPECT_EQ(why, "the fit is not a finite number: the levels are too large");
}
