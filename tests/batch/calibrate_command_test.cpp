// ondarix-batch calibrate, run as a user would: the counts of an .INT
// calibration record whose channel already carries a scale, the line
// through the levels, and the line written into another record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "measure/int_format.h"
#include "measure/measure.h"
#include "support/run_command.h"

namespace {

constexpr double RATE = 50.0;
constexpr double COUNT = 0.0001; // m a count of the gauge
constexpr double ZERO = -0.3;    // m at count 0

// A one-channel .INT file of layout 4 (sample-major counts) with the given
// coefficient and constant.
std::vector<unsigned char> countsFile(const std::vector<int16_t>& counts, double coefficient,
                                      double constant) {
    ByteWriter w;
    w.put(RATE).put(uint8_t(1)).put(int8_t(4)).put(int32_t(counts.size()));
    w.put(uint32_t(0)).put(uint8_t(3)).text("cal", 60);
    w.put(coefficient).put(uint8_t(1)).text("m", 7).put(uint8_t(5)).text("gauge", 40);
    w.put(constant).put(0.0).put(0.0).put(0.0).put(0.0);
    for (int16_t v : counts)
        w.put(v);
    return w.bytes;
}

// A layout 4 file of `channels` gauges, each row `counts` (channel c adds
// 100 c), each channel with coefficient 2 and constant -3.
std::vector<unsigned char> runFile(int channels, const std::vector<int16_t>& counts) {
    ByteWriter w;
    w.put(RATE).put(uint8_t(channels)).put(int8_t(4)).put(int32_t(counts.size()));
    w.put(uint32_t(0)).put(uint8_t(3)).text("run", 60);
    for (int c = 0; c < channels; ++c) {
        w.put(2.0).put(uint8_t(1)).text("m", 7).put(uint8_t(5)).text("gauge", 40);
        w.put(-3.0).put(0.0).put(0.0).put(0.0).put(0.0);
    }
    for (int16_t v : counts)
        for (int c = 0; c < channels; ++c)
            w.put(int16_t(v + 100 * c));
    return w.bytes;
}

// The gauge held 8 s at each of -0.1, -0.05, 0, 0.05, 0.1 m and moved over
// 3 s between them, with noise of 3 counts.
std::vector<int16_t> calibrationCounts() {
    std::mt19937 gen(7);
    std::normal_distribution<double> noise(0, 3);
    std::vector<int16_t> counts;
    const double levels[] = {-0.1, -0.05, 0.0, 0.05, 0.1};
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 11 * int(RATE) && (i < 4 || j < 8 * int(RATE)); ++j) {
            const double move = j < 8 * RATE ? 0 : (j - 8 * RATE) / (3 * RATE) * 0.05;
            const double level = levels[i] + move;
            counts.push_back(int16_t(std::lround((level - ZERO) / COUNT + noise(gen))));
        }
    }
    return counts;
}

double jsonField(const std::string& json, const std::string& key) {
    size_t at = json.find("\"" + key + "\": ");
    return at == std::string::npos ? NAN : std::strtod(json.c_str() + at + key.size() + 4, nullptr);
}

} // namespace

TEST(CalibrateCommand, CountsOfAScaledRecordGiveTheLineThatApplyWrites) {
    TempDir dir;
    // The record's channel already reads 0.5 count + 1: calibrate undoes it.
    const std::string record = dir.file("cal.INT"), target = dir.file("run.INT");
    writeBytes(record, countsFile(calibrationCounts(), 0.5, 1.0));
    writeBytes(target, countsFile({1000, 3000, 5000}, 2.0, -3.0));
    CommandResult r = runBatch({"calibrate", record, "--channel", "0", "--levels",
                                "-0.1,-0.05,0,0.05,0.1", "--apply", target, "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const double coefficient = jsonField(r.out, "coefficient");
    const double constant = jsonField(r.out, "constant");
    EXPECT_NEAR(coefficient, COUNT, 0.005 * COUNT) << r.out;
    EXPECT_NEAR(constant, ZERO, 0.005 * std::fabs(ZERO)) << r.out;
    EXPECT_GT(jsonField(r.out, "r2"), 0.9999);
    EXPECT_LT(jsonField(r.out, "largest residual"), 0.001);
    EXPECT_NE(r.out.find("\"residuals\": ["), std::string::npos) << r.out;
    // The target's counts now read as elevations with exactly those numbers.
    CMeasure m;
    ASSERT_TRUE(readInt(m, target.c_str()));
    EXPECT_EQ(m.channels[0].coefficient, coefficient);
    EXPECT_EQ(m.channels[0].constant, constant);
    EXPECT_FLOAT_EQ(m.value(0, 1), float(coefficient * 3000 + constant));
    EXPECT_NEAR(m.value(0, 1), 0.0, 1e-3);
    r = runBatch({"calibrate", record, "--channel", "0", "--levels", "-0.1,-0.05,0,0.05,0.1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Coefficient", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("Largest residual"), std::string::npos) << r.out;
}

// A record of one gauge calibrates gauge 2 of a three-gauge run; the
// other gauges keep their pairs.
TEST(CalibrateCommand, ToChannelNamesTheGaugeOfTheTarget) {
    TempDir dir;
    const std::string record = dir.file("cal.INT"), target = dir.file("run.INT");
    writeBytes(record, countsFile(calibrationCounts(), 1.0, 0.0));
    writeBytes(target, runFile(3, {1000, 3000, 5000}));
    CommandResult r =
        runBatch({"calibrate", record, "--channel", "0", "--levels", "-0.1,-0.05,0,0.05,0.1",
                  "--apply", target, "--to-channel", "2", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const double coefficient = jsonField(r.out, "coefficient");
    const double constant = jsonField(r.out, "constant");
    CMeasure m;
    ASSERT_TRUE(readInt(m, target.c_str()));
    EXPECT_EQ(m.channels[2].coefficient, coefficient);
    EXPECT_EQ(m.channels[2].constant, constant);
    EXPECT_FLOAT_EQ(m.value(2, 1), float(coefficient * 3200 + constant));
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(m.channels[c].coefficient, 2.0) << c;
        EXPECT_EQ(m.channels[c].constant, -3.0) << c;
        EXPECT_FLOAT_EQ(m.value(c, 1), float(2.0 * (3000 + 100 * c) - 3.0)) << c;
    }
}

TEST(CalibrateCommand, RefusalsAreOneLineAndLeaveTheTargetAsItWas) {
    TempDir dir;
    const std::string record = dir.file("cal.INT"), target = dir.file("run.INT");
    writeBytes(record, countsFile(calibrationCounts(), 1.0, 0.0));
    const auto before = countsFile({1000, 3000}, 2.0, -3.0);
    writeBytes(target, before);
    auto failure = [&](std::vector<std::string> args, const std::string& part) {
        CommandResult r = runBatch(args);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
        EXPECT_EQ(readBytes(target), before);
    };
    failure({"calibrate", record, "--channel", "0", "--levels", "0.1", "--apply", target},
            "at least two levels");
    failure({"calibrate", record, "--channel", "0", "--levels", "-0.15,-0.1,-0.05,0,0.05,0.1",
             "--apply", target},
            "found 5 steady stretches for 6 levels");
    failure({"calibrate", record, "--channel", "0", "--levels", "-0.1,-0.05,0.05,0,0.1", "--apply",
             target},
            "below 0.99");
    failure({"calibrate", record, "--channel", "0", "--levels", "-0.1,0.1", "--windows", "1:7,9:3"},
            "not a forward stretch");
    failure({"calibrate", record, "--channel", "0", "--levels", "1e308,-1e308,0,1,2", "--apply",
             target},
            "the fit is not a finite number");
    failure({"calibrate", record, "--channel", "0", "--levels", "nan,-0.05,0,0.05,0.1", "--apply",
             target},
            "level 1 is not a finite number");
    EXPECT_EQ(runBatch({"calibrate", record, "--channel", "0", "--levels", "a,b"}).exitCode, 2);
    EXPECT_EQ(runBatch({"calibrate", record, "--levels", "1,2"}).exitCode, 2);
    // A file whose reader applies no coefficient would need its values rewritten.
    const std::string csv = dir.file("run.csv");
    writeString(csv, "time,gauge\n0,1000\n0.02,3000\n");
    failure({"calibrate", record, "--channel", "0", "--levels", "-0.1,-0.05,0,0.05,0.1", "--apply",
             csv},
            "only an .INT file keeps a coefficient");
    EXPECT_EQ(readString(csv), "time,gauge\n0,1000\n0.02,3000\n");
    failure({"calibrate", record, "--channel", "0", "--levels", "-0.1,-0.05,0,0.05,0.1", "--apply",
             target, "--to-channel", "1"},
            "has no channel 1");
    EXPECT_EQ(runBatch({"calibrate", record, "--channel", "0", "--levels", "1,2", "--apply", target,
                        "--to-channel", "-1"})
                  .exitCode,
              2);
    EXPECT_EQ(
        runBatch({"calibrate", record, "--channel", "0", "--levels", "1,2", "--to-channel", "1"})
            .exitCode,
        2);
    EXPECT_EQ(readBytes(target), before);
    // Named windows take what detection would have found, --force a bad fit.
    CommandResult r =
        runBatch({"calibrate", record, "--channel", "0", "--levels", "-0.1,-0.05,0.05,0,0.1",
                  "--windows", "1:7,12:18,23:29,34:40,45:51", "--force", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(jsonField(r.out, "r2"), 0.81, 1e-3);
}
