// ondarix-batch stats on measurements whose statistics are known in advance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "measure/int_format.h"
#include "measure/measure.h"
#include "support/run_command.h"

namespace {

// Channel 1 of two: 50 waves of 0.5·sin at 40 samples per period, 40 Hz, so
// period 1 s, height 1, deviation 0.5/√2. Channel 0 is flat.
std::string writeSineFile(const TempDir& dir) {
    CMeasure m;
    m.channelCount = 2;
    m.sampleCount = 2000;
    m.sampleRate = 40.0;
    if (!m.allocateSamples()) return "";
    for (int j = 0; j < 2000; ++j) {
        m.setSample(0, j, Sample{0.25f, 0.0f});
        m.setSample(1, j,
                    Sample{float(0.5 * std::sin(2 * 3.141592653589793 * (j + 0.25) / 40)), 0.0f});
    }
    std::string path = dir.file("sine.INT");
    return writeInt(m, path.c_str()) ? path : "";
}

// The number after `"key": ` in the JSON text; NAN when it is null or absent.
double jsonField(const std::string& json, const std::string& group, const std::string& key) {
    size_t at = json.find("\"" + group + "\"");
    if (at == std::string::npos) return NAN;
    at = json.find("\"" + key + "\": ", at);
    if (at == std::string::npos) return NAN;
    const char* p = json.c_str() + at + key.size() + 4;
    char* end;
    double v = std::strtod(p, &end);
    return end == p ? NAN : v;
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(BatchStats, SineShowsItsWavesInTextAndJson) {
    TempDir dir;
    std::string file = writeSineFile(dir);
    ASSERT_FALSE(file.empty());
    // Crossings at 19.75 + 20k (k = 0..98) give 97 periods; extremes at
    // 9.75 + 20k (k = 0..99) give 98 heights.
    CommandResult r = runBatch({"stats", file, "--channel", "1", "--from", "2000", "--to", "0"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.out, "From:      2000\nTo:        0\n")) << r.out;
    EXPECT_TRUE(has(r.out, "  St.dev:  0.3536\n")) << r.out; // 0.5/√2 = 0.353553
    EXPECT_TRUE(has(r.out, "Wave (98)\n")) << r.out;
    EXPECT_TRUE(
        has(r.out, "Period (97)\n  Min:     1.0000\n  Max:     1.0000\n  Mean:    1.0000\n"))
        << r.out;
    EXPECT_TRUE(has(r.out, "Frequency\n  Min:     1.0000\n  Max:     1.0000\n  Mean:    1.0000\n"))
        << r.out;

    CommandResult j =
        runBatch({"stats", file, "--channel", "1", "--from", "0", "--to", "2000", "--json"});
    ASSERT_EQ(j.exitCode, 0) << j.err;
    EXPECT_TRUE(has(j.out, "\"wave\": {\"count\": 98,")) << j.out;
    EXPECT_NEAR(jsonField(j.out, "wave", "mean"), 1.0, 1e-3);
    EXPECT_NEAR(jsonField(j.out, "period", "mean"), 1.0, 1e-4);
    EXPECT_NEAR(jsonField(j.out, "frequency", "max"), 1.0, 1e-4);
    EXPECT_NEAR(jsonField(j.out, "signal", "deviation"), 0.3536, 1e-4);
}

TEST(BatchStats, JsonKeepsEveryDigitTheTextRounds) {
    TempDir dir;
    CMeasure m;
    m.channelCount = 1;
    m.sampleCount = 4;
    m.sampleRate = 1.0;
    ASSERT_TRUE(m.allocateSamples());
    // Binary fractions, so float samples and their mean are exact:
    // (0.03125 + 0.515625 + 0.25 + 0.125) / 4 = 0.23046875.
    const float values[4] = {0.03125f, 0.515625f, 0.25f, 0.125f};
    for (int j = 0; j < 4; ++j)
        m.setSample(0, j, Sample{values[j], 0.0f});
    std::string file = dir.file("fractions.INT");
    ASSERT_TRUE(writeInt(m, file.c_str()));
    std::vector<std::string> args = {"stats", file, "--channel", "0", "--from", "0", "--to", "4"};
    CommandResult text = runBatch(args);
    args.push_back("--json");
    CommandResult json = runBatch(args);
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(jsonField(json.out, "signal", "min"), 0.03125) << json.out;
    EXPECT_EQ(jsonField(json.out, "signal", "max"), 0.515625) << json.out;
    EXPECT_EQ(jsonField(json.out, "signal", "mean"), 0.23046875) << json.out;
    EXPECT_TRUE(has(text.out, "  Mean:    0.2305\n")) << text.out;
}

TEST(BatchStats, DashesAndNullsWhereNothingWasMeasured) {
    TempDir dir;
    std::string file = writeSineFile(dir);
    ASSERT_FALSE(file.empty());
    // Flat channel: the wave analysis ran and found no wave.
    CommandResult flat = runBatch({"stats", file, "--channel", "0", "--from", "0", "--to", "500"});
    ASSERT_EQ(flat.exitCode, 0) << flat.err;
    EXPECT_TRUE(has(flat.out, "  Mean:    0.2500\n")) << flat.out;
    EXPECT_TRUE(has(flat.out, "Wave (0)\n  Min:     -\n")) << flat.out;
    EXPECT_TRUE(has(flat.out, "Frequency\n  Min:     -\n  Max:     -\n  Mean:    -\n")) << flat.out;
    // One sample: no deviation, no wave analysis.
    CommandResult one =
        runBatch({"stats", file, "--channel", "1", "--from", "5", "--to", "4", "--json"});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_TRUE(has(one.out, "\"deviation\": null}")) << one.out;
    EXPECT_TRUE(
        has(one.out, "\"period\": {\"count\": 0, \"min\": null, \"max\": null, \"mean\": null}"))
        << one.out;
}

TEST(BatchStats, RefusesBlocksItCannotAnalyse) {
    TempDir dir;
    std::string file = writeSineFile(dir);
    ASSERT_FALSE(file.empty());
    CommandResult channel = runBatch({"stats", file, "--channel", "2", "--from", "0", "--to", "5"});
    EXPECT_EQ(channel.exitCode, 1);
    EXPECT_TRUE(has(channel.err, "channel 2")) << channel.err;
    CommandResult range = runBatch({"stats", file, "--channel", "1", "--from", "-1", "--to", "5"});
    EXPECT_EQ(range.exitCode, 1);
    EXPECT_TRUE(has(range.err, "outside 0..2000")) << range.err;
    EXPECT_EQ(runBatch({"stats", file, "--channel", "1", "--from", "0", "--to", "2001"}).exitCode,
              1);
    CommandResult empty = runBatch({"stats", file, "--channel", "1", "--from", "7", "--to", "7"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.out, "");
    for (const CommandResult* r : {&channel, &range, &empty})
        EXPECT_EQ(std::count(r->err.begin(), r->err.end(), '\n'), 1) << r->err;
    EXPECT_EQ(runBatch({"stats", file, "--channel", "1"}).exitCode, 2);
}
