// The measurement subcommands of ondarix-batch, run as a user would.
#include <gtest/gtest.h>

#include <cmath>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "measure/int_format.h"
#include "measure/measure.h"
#include "support/run_command.h"

namespace {

int lineCount(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

// Peak resident memory in KiB of `ondarix-batch info <path>`, its standard
// output discarded; -1 when it did not exit with 0.
long infoPeakKiB(const std::string& path) {
    pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        execl(ONDARIX_BATCH, ONDARIX_BATCH, "info", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return usage.ru_maxrss;
}

} // namespace

TEST(BatchSample, BundledSampleIsWhatOurToolMakes) {
    TempDir dir;
    CommandResult r = runCommand(MAKE_SAMPLE, {dir.file("s.INT")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readBytes(dir.file("s.INT")), readBytes(SAMPLE_FILE));
}

TEST(BatchInfo, ShowsHeaderAndChannels) {
    CommandResult r = runBatch({"info", SAMPLE_FILE});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("date:        2026-11-23 at 10:15:42"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("samples:     4096"), std::string::npos);
    EXPECT_NE(r.out.find("Gauge 3, x = 12 m"), std::string::npos);
    CommandResult j = runBatch({"info", SAMPLE_FILE, "--json"});
    ASSERT_EQ(j.exitCode, 0);
    EXPECT_NE(j.out.find("\"sampleRate\": 50,"), std::string::npos) << j.out;
    EXPECT_NE(j.out.find("\"unit\": \"m\""), std::string::npos);
}

TEST(BatchInfo, ReportsBadFilesAndArguments) {
    TempDir dir;
    writeString(dir.file("bad.int"), "not a measurement at all");
    CommandResult r = runBatch({"info", dir.file("bad.int")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("bad.int"), std::string::npos);
    EXPECT_NE(r.err.find("sample rate"), std::string::npos) << r.err;
    // an unknown extension reads as .INT
    writeString(dir.file("bad.xyz"), "x");
    EXPECT_NE(runBatch({"info", dir.file("bad.xyz")}).err.find(".int file"), std::string::npos);
    EXPECT_EQ(runBatch({"info"}).exitCode, 2);
    EXPECT_EQ(runBatch({"info", SAMPLE_FILE, "--bogus"}).exitCode, 2);
    EXPECT_EQ(runBatch({"info", SAMPLE_FILE, "--type", "doc"}).exitCode, 2);
    EXPECT_EQ(runBatch({"info", SAMPLE_FILE, "--json=0"}).exitCode, 2); // a flag takes no value
    EXPECT_EQ(runBatch({"info", SAMPLE_FILE, "--type=int"}).exitCode, 0);
    EXPECT_EQ(runBatch({"nonsense"}).exitCode, 2);
    EXPECT_EQ(runBatch({"--help"}).exitCode, 0);
    EXPECT_NE(runBatch({"--version"}).out.find("ondarix-batch 3."), std::string::npos);
}

TEST(BatchConvert, TextAndBackKeepsValues) {
    TempDir dir;
    ASSERT_EQ(runBatch({"convert", SAMPLE_FILE, dir.file("s.TXT")}).exitCode, 0);
    ASSERT_EQ(runBatch({"convert", dir.file("s.TXT"), dir.file("back.int")}).exitCode, 0);
    CMeasure a, b;
    ASSERT_TRUE(readInt(a, SAMPLE_FILE));
    ASSERT_TRUE(readInt(b, dir.file("back.int").c_str()));
    ASSERT_EQ(b.channelCount, a.channelCount);
    ASSERT_EQ(b.sampleCount, a.sampleCount);
    for (int j = 0; j < a.sampleCount; j += 7)
        for (int c = 0; c < a.channelCount; ++c)
            EXPECT_NEAR(b.value(c, j), a.value(c, j), 1e-6 * std::fabs(a.value(c, j)) + 1e-30);
    // --out-type overrides the extension; .WAV cannot be written
    ASSERT_EQ(runBatch({"convert", SAMPLE_FILE, dir.file("x.dat"), "--out-type", "txt"}).exitCode,
              0);
    EXPECT_EQ(readBytes(dir.file("x.dat")), readBytes(dir.file("s.TXT")));
    EXPECT_EQ(runBatch({"convert", SAMPLE_FILE, dir.file("x.wav")}).exitCode, 2);
}

TEST(BatchBlock, WritesRowsAndRefusesBadRanges) {
    TempDir dir;
    CommandResult r =
        runBatch({"block", SAMPLE_FILE, "--channel", "1", "--from", "10", "--to", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(lineCount(r.out), 5);
    EXPECT_EQ(r.out.substr(0, 13), "1.800000e-01\t"); // row 9 at 50 Hz
    ASSERT_EQ(runBatch({"block", SAMPLE_FILE, "--channel", "1", "--from", "10", "--to", "5", "-o",
                        dir.file("b.txt")})
                  .exitCode,
              0);
    auto bytes = readBytes(dir.file("b.txt"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), r.out);
    CommandResult outside =
        runBatch({"block", SAMPLE_FILE, "--channel", "9", "--from", "0", "--to", "5"});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_NE(outside.err.find("channel 9"), std::string::npos);
    EXPECT_EQ(
        runBatch({"block", SAMPLE_FILE, "--channel", "0", "--from", "0", "--to", "5000"}).exitCode,
        1);
    EXPECT_EQ(
        runBatch({"block", SAMPLE_FILE, "--channel", "x", "--from", "0", "--to", "5"}).exitCode, 2);
    EXPECT_EQ(runBatch({"block", SAMPLE_FILE, "--channel", "0"}).exitCode, 2);
}

TEST(BatchInfo, LargeFileIsDescribedWithoutHoldingItsSamples) {
    // 2 x 2097152 float samples: 16 MiB in the file, 32 MiB as samples in
    // memory; the header alone needs nothing more than a small file's.
    TempDir dir;
    {
        CMeasure m;
        m.channelCount = 2;
        m.sampleCount = INT_MAX_SAMPLES;
        m.sampleRate = 100.0;
        ASSERT_TRUE(m.allocateSamples());
        for (int64_t i = 0; i < int64_t(2) * INT_MAX_SAMPLES; ++i)
            m.setSample(int(i % m.channelCount), i / m.channelCount, Sample{float(i % 1000), 0.0f});
        ASSERT_TRUE(writeInt(m, dir.file("big.INT").c_str()));
    } // released before the fork: a child starts with its parent's resident pages
    CommandResult r = runBatch({"info", dir.file("big.INT")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("samples:     2097152"), std::string::npos) << r.out;
    // Against info on the small bundled sample, so that what a sanitizer
    // adds to every process does not count.
    long baseline = infoPeakKiB(SAMPLE_FILE);
    long peak = infoPeakKiB(dir.file("big.INT"));
    ASSERT_GT(baseline, 0);
    ASSERT_GT(peak, 0);
    EXPECT_LT(peak - baseline, 8 * 1024);
}
