// Analyses of many files in one run of ondarix-batch: one table, in the order
// given, each row what a run on its file alone gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "measure/int_format.h"
#include "measure/measure.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace {

constexpr double PI = 3.141592653589793;
constexpr double RATE = 20.0;

// Record k: two gauges of a wave whose height, period and length all change
// with k, the first record the longest so that it is not the first done.
std::string writeRecord(const TempDir& dir, const std::string& name, int k) {
    const int rows = 4000 - 40 * k;
    CMeasure m;
    m.channelCount = 2;
    m.sampleCount = rows;
    m.sampleRate = RATE;
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    EXPECT_TRUE(m.allocateSamples());
    const double period = 1.5 + 0.02 * k, height = 0.05 + 0.001 * k;
    for (int j = 0; j < rows; ++j) {
        const double t = j / RATE;
        const double first = 0.5 * height * std::sin(2 * PI * t / period) +
                             0.1 * height * std::sin(2 * PI * t * 1.7 / period + k);
        m.setSample(0, j, Sample{float(first), 0.0f});
        m.setSample(1, j, Sample{float(0.6 * first + 0.002 * std::cos(0.3 * j)), 0.0f});
    }
    for (int c = 0; c < 2; ++c)
        setChannelInfo(m.channels[c], 1.0, 0.0, "m", "Gauge");
    const std::string path = dir.file(name);
    EXPECT_TRUE(writeInt(m, path.c_str()));
    return path;
}

std::string recordName(int k) {
    char name[32];
    std::snprintf(name, sizeof name, "run%02d.INT", k);
    return name;
}

std::vector<std::string> withArgs(std::vector<std::string> head,
                                  const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace

TEST(FileSeries, FiftyRecordsInOneRunAreFiftySingleRunsInTheirOrder) {
    TempDir dir;
    std::vector<std::string> paths;
    for (int k = 0; k < 50; ++k)
        paths.push_back(writeRecord(dir, recordName(k), k));
    const std::string table = dir.file("waves.csv");
    const CommandResult all =
        runBatch(withArgs({"waves", "--table", table, "--threshold", "0.001"}, paths));
    ASSERT_EQ(all.exitCode, 0) << all.err;
    // Nothing on stderr: progress is for a terminal only.
    EXPECT_EQ(all.err, "");
    const std::vector<std::string> rows = textLines(readString(table));
    ASSERT_EQ(rows.size(), 51u);
    for (int k = 0; k < 50; ++k) {
        const std::string single = dir.file("single.csv");
        const CommandResult one =
            runBatch({"waves", paths[k], "--threshold", "0.001", "--table", single});
        ASSERT_EQ(one.exitCode, 0) << one.err;
        const std::vector<std::string> expected = textLines(readString(single));
        ASSERT_EQ(expected.size(), 2u);
        EXPECT_EQ(rows[0], expected[0]);
        EXPECT_EQ(rows[k + 1], expected[1]) << "record " << k;
    }
}

TEST(FileSeries, MissingAndDamagedFilesAreRowsWithTheirReason) {
    TempDir dir;
    const std::string good = writeRecord(dir, "good.INT", 3);
    const std::string damaged = dir.file("damaged.INT");
    writeString(damaged, "not a measurement at all\n");
    const std::string missing = dir.file("missing.INT");
    const CommandResult r = runBatch({"spectrum", good, missing, damaged, good, "--json"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "ondarix-batch: 2 of 4 rows failed; their error column says why\n");
    const std::vector<std::string> rows = textLines(r.out);
    ASSERT_EQ(rows.size(), 6u) << r.out;
    EXPECT_EQ(rows[1].find("\"error\""), std::string::npos) << rows[1];
    EXPECT_NE(rows[2].find("\"error\": \"" + missing + ": "), std::string::npos) << rows[2];
    EXPECT_NE(rows[3].find("\"error\": \"" + damaged + ": "), std::string::npos) << rows[3];
    // The run goes on after a failure, and the good file's row is its own.
    EXPECT_EQ(rows[4], rows[1].substr(0, rows[1].size() - 1));
}

TEST(FileSeries, ChannelsAreRowsAndAMissingChannelFailsItsRowOnly) {
    TempDir dir;
    const std::string a = writeRecord(dir, "a.INT", 1), b = writeRecord(dir, "b.INT", 2);
    const CommandResult r =
        runBatch({"stats", a, b, "--channel", "1,5,0", "--from", "0", "--to", "400"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("2 of 6 rows failed"), std::string::npos) << r.err;
    const std::vector<std::string> rows = textLines(r.out);
    ASSERT_EQ(rows.size(), 7u) << r.out;
    EXPECT_EQ(rows[0].rfind("file,channel,from,to,signal min,", 0), 0u) << rows[0];
    EXPECT_EQ(rows[2].rfind(a + ",5,", 0), 0u) << rows[2];
    EXPECT_NE(rows[2].find("channel 5 does not exist"), std::string::npos);
    // Each channel's row is what that channel alone gives.
    const CommandResult one = runBatch({"stats", b, "--channel", "0", "--from", "0", "--to", "400",
                                        "--table", dir.file("one.csv")});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(rows[6], textLines(readString(dir.file("one.csv")))[1]);
    EXPECT_NE(rows[4], rows[6]);
}

TEST(FileSeries, PatternsExpandInSortedOrder) {
    TempDir dir;
    for (int k : {2, 0, 1})
        writeRecord(dir, recordName(k), k);
    writeRecord(dir, "other.INT", 4);
    // A name with a wildcard in it is that file when it exists.
    const std::string odd = writeRecord(dir, "odd[1].INT", 5);
    const CommandResult r = runBatch({"waves", dir.file("run*.INT"), dir.file("none*.INT"), odd});
    EXPECT_EQ(r.exitCode, 1);
    const std::vector<std::string> rows = textLines(r.out);
    ASSERT_EQ(rows.size(), 6u) << r.out;
    EXPECT_EQ(rows[5].rfind(odd + ",0,", 0), 0u) << rows[5];
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(rows[k + 1].rfind(dir.file(recordName(k)) + ",0,", 0), 0u) << rows[k + 1];
    EXPECT_NE(rows[4].find(dir.file("none*.INT") + ": no file matches"), std::string::npos)
        << rows[4];
}

TEST(FileSeries, OneFileWritesAsBeforeAndWrongOptionsAreRefusedOnceWithSeveral) {
    TempDir dir;
    const std::string a = writeRecord(dir, "a.INT", 1), b = writeRecord(dir, "b.INT", 2);
    const CommandResult one = runBatch({"waves", a, "--json"});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(one.out.rfind("{\n  \"count\": ", 0), 0u) << one.out;
    const CommandResult spectra = runBatch({"spectrum", a, b, "-o", dir.file("s.TXT")});
    EXPECT_EQ(spectra.exitCode, 2);
    EXPECT_NE(spectra.err.find("-o writes one file"), std::string::npos) << spectra.err;
    // A malformed number is one usage error, not a failed row per file.
    const CommandResult malformed = runBatch({"waves", a, b, "--from", "1x"});
    EXPECT_EQ(malformed.exitCode, 2);
    EXPECT_EQ(malformed.out, "");
    const CommandResult over = runBatch({"waves", a, b, "--table", b});
    EXPECT_EQ(over.exitCode, 1);
    EXPECT_EQ(countEntries(dir.path()), 2);
}
