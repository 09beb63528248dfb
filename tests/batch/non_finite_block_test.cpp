// ondarix-batch refuses to analyse a block holding NaN or infinity, which the
// readers keep as they find them, and names the first bad value; and the
// reflection's gauges and band are checked before anything is computed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "measure/int_format.h"
#include "measure/measure.h"
#include "measure/measure_file.h"
#include "support/run_command.h"

namespace {

constexpr double PI = 3.141592653589793;
constexpr int ROWS = 2000;

// Three channels at 20 Hz of a 0.5 Hz wave and its third harmonic; channel 2
// holds a NaN at row 1234, channel 1 an infinity at row 1500.
std::string writeDamaged(const TempDir& dir) {
    CMeasure m;
    m.channelCount = 3;
    m.sampleCount = ROWS;
    m.sampleRate = 20.0;
    if (!m.allocateSamples()) return "";
    for (int j = 0; j < ROWS; ++j) {
        double t = j / 20.0;
        for (int c = 0; c < 3; ++c)
            m.setSample(
                c, j,
                Sample{float(0.8 * std::cos(PI * t - c) + 0.3 * std::cos(3 * PI * t - 2 * c)),
                       0.0f});
    }
    m.setSample(2, 1234, Sample{std::nanf(""), 0.0f});
    m.setSample(1, 1500, Sample{std::numeric_limits<float>::infinity(), 0.0f});
    for (int c = 0; c < 3; ++c)
        setChannelInfo(m.channels[c], 1.0, 0.0, "m", "Gauge");
    std::string path = dir.file("damaged.INT");
    return writeInt(m, path.c_str()) ? path : "";
}

std::string writeList(const TempDir& dir) {
    std::string path = dir.file("start.txt");
    writeString(path, "2\t0\t2000\t2\r\n"
                      "0.5000\t1.0000\t10.0000\t0.0000\t0.0000\t0.0000\r\n"
                      "1.5000\t0.5000\t10.0000\t0.0000\t0.0000\t0.0000\r\n");
    return path;
}

void expectRefusal(const std::vector<std::string>& args, const std::string& reason) {
    CommandResult r = runBatch(args);
    EXPECT_EQ(r.exitCode, 1) << args[0] << ": " << r.err;
    EXPECT_EQ(r.err, "ondarix-batch: " + reason + "\n") << args[0];
    EXPECT_EQ(r.out, "") << args[0];
}

} // namespace

TEST(NonFiniteBlock, EveryAnalysisRefusesItWithTheFirstBadRow) {
    TempDir dir;
    const std::string in = writeDamaged(dir), list = writeList(dir);
    ASSERT_FALSE(in.empty());
    CMeasure read;
    std::string why;
    ASSERT_TRUE(readMeasure(read, in, FileType::Int, &why)) << why;
    ASSERT_TRUE(std::isnan(read.value(2, 1234))); // the reader keeps what the file holds

    const std::string nan = "row 1234 of channel 2 is not a finite number";
    const std::vector<std::string> block = {in, "--channel", "2", "--from", "0", "--to", "2000"};
    auto with = [&](std::vector<std::string> head, std::vector<std::string> tail) {
        head.insert(head.end(), block.begin(), block.end());
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    expectRefusal(with({"stats"}, {}), nan);
    expectRefusal(with({"fourier"}, {"-o", dir.file("f.TXT")}), nan);
    expectRefusal(with({"fourier"}, {"--inverse", "-o", dir.file("f.TXT")}), nan);
    expectRefusal(with({"kalman"}, {"--components", list, "-o", dir.file("k.TXT")}), nan);
    expectRefusal(with({"aprox"}, {"--components", list, "-o", dir.file("a.TXT")}), nan);
    // Start components from the spectrum's peaks: the value is named, not a missing peak.
    expectRefusal(with({"aprox"}, {"--components", "auto:3", "-o", dir.file("a.TXT")}), nan);
    expectRefusal(with({"kalman"}, {"--components", "auto:3", "-o", dir.file("k.TXT")}), nan);
    expectRefusal(with({"waves"}, {}), nan);
    expectRefusal(with({"spectrum"}, {"--segment", "256"}), nan);
    // The first bad row of all the gauges, whichever gauge comes first.
    expectRefusal({"reflection", in, "--channels", "1,2", "--positions", "0,0.4", "--depth", "0.5"},
                  nan);
    expectRefusal({"stats", in, "--channel", "1", "--from", "2000", "--to", "1000"},
                  "row 1500 of channel 1 is not a finite number");
    // Before the bad row the block is sound.
    EXPECT_EQ(runBatch({"stats", in, "--channel", "2", "--from", "0", "--to", "1234"}).exitCode, 0);
    EXPECT_EQ(
        runBatch({"spectrum", in, "--channel", "1", "--to", "1500", "--segment", "256"}).exitCode,
        0);
}

TEST(NonFiniteBlock, ReflectionGaugesAndBandAreChecked) {
    TempDir dir;
    const std::string in = writeDamaged(dir);
    ASSERT_FALSE(in.empty());
    const std::vector<std::string> gauges = {"--positions", "0,0.4,0.9", "--depth",
                                             "0.5",         "--to",      "1000"};
    auto reflection = [&](const std::string& channels, std::vector<std::string> more) {
        std::vector<std::string> args = {"reflection", in, "--channels", channels};
        args.insert(args.end(), gauges.begin(), gauges.end());
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    expectRefusal(reflection("0,1,0", {}), "channel 0 is named twice");
    expectRefusal(reflection("1,1,1", {}), "channel 1 is named twice");
    const std::string nyquist = "the band limits must not exceed the Nyquist frequency, 10 Hz";
    expectRefusal(reflection("0,1,2", {"--fmin", "1e30"}), nyquist);
    expectRefusal(reflection("0,1,2", {"--fmax", "1e30"}), nyquist);
    expectRefusal({"spectrum", in, "--to", "1000", "--fmin", "1e30"}, nyquist);
    expectRefusal({"spectrum", in, "--to", "1000", "--fmin", "10.5"}, nyquist);
    EXPECT_EQ(runBatch(reflection("0,1,2", {"--fmax", "10"})).exitCode, 0);
}
