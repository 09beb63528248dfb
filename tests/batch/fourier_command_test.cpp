// ondarix-batch fourier, run as a user would.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "measure/int_format.h"
#include "measure/measure.h"
#include "support/run_command.h"

namespace {

// 80 samples at 32 Hz; channel 1 holds cos(2 pi 3 (j - 8) / 64), so the block
// 8..72 has a unit cosine at bin 3 (1.5 Hz).
double signalAt(int j) {
    return std::cos(2 * M_PI * 3 * (j - 8) / 64.0);
}

std::string writeInput(const TempDir& dir) {
    CMeasure m;
    m.channelCount = 2;
    m.sampleCount = 80;
    m.sampleRate = 32.0;
    m.allocateSamples();
    for (int j = 0; j < 80; ++j) {
        m.setSample(0, j, Sample{float(j), 0.0f});
        m.setSample(1, j, Sample{float(signalAt(j)), 0.0f});
    }
    setChannelInfo(m.channels[1], 1.0, 0.0, "cm", "Gauge 2");
    std::string path = dir.file("in.INT");
    EXPECT_TRUE(writeInt(m, path.c_str()));
    return path;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t at = 0, end;
    while ((end = text.find("\r\n", at)) != std::string::npos) {
        out.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    EXPECT_EQ(at, text.size()) << "every line ends in CR LF";
    return out;
}

std::vector<double> numbers(const std::string& line) {
    std::vector<double> v;
    std::istringstream in(line);
    for (double x; in >> x;)
        v.push_back(x);
    return v;
}

} // namespace

TEST(BatchFourier, SpectrumAsResultTextAndAsInt) {
    TempDir dir;
    std::string in = writeInput(dir);
    CommandResult r = runBatch(
        {"fourier", in, "--channel", "1", "--from", "72", "--to", "8", "-o", dir.file("s.TXT")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto bytes = readBytes(dir.file("s.TXT"));
    std::vector<std::string> text = lines(std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(text.size(), 64u);
    EXPECT_EQ(text[0].substr(0, 13), "0.000000e+00\t");
    std::vector<double> bin3 = numbers(text[3]);
    ASSERT_EQ(bin3.size(), 3u);
    EXPECT_DOUBLE_EQ(bin3[0], 1.5); // 3 * 32 / 64 Hz
    EXPECT_NEAR(bin3[1], 1.0, 1e-5);
    EXPECT_NEAR(bin3[2], 0.0, 1e-5);

    ASSERT_EQ(runBatch({"fourier", in, "--channel", "1", "--from", "8", "--to", "72", "-o",
                        dir.file("s.INT")})
                  .exitCode,
              0);
    CMeasure s;
    ASSERT_TRUE(readInt(s, dir.file("s.INT").c_str()));
    EXPECT_EQ(s.sampleFormat, SAMPLE_FORMAT_COMPLEX);
    ASSERT_EQ(s.channelCount, 1);
    ASSERT_EQ(s.sampleCount, 64);
    EXPECT_DOUBLE_EQ(s.sampleRate, 2.0); // N / fs
    EXPECT_STREQ(s.channels[0].name, "Spectrum");
    EXPECT_STREQ(s.channels[0].unit, "cm");
    EXPECT_NEAR(s.value(0, 61), 1.0f, 1e-5);
    EXPECT_NEAR(s.value(0, 10), 0.0f, 1e-5);
}

TEST(BatchFourier, InverseOfTheSavedSpectrumGivesTheSignalBack) {
    TempDir dir;
    std::string in = writeInput(dir);
    ASSERT_EQ(runBatch({"fourier", in, "--channel", "1", "--from", "8", "--to", "72", "-o",
                        dir.file("s.INT")})
                  .exitCode,
              0);
    CommandResult r =
        runBatch({"fourier", dir.file("s.INT"), "--inverse", "-o", dir.file("b.INT")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    CMeasure b;
    ASSERT_TRUE(readInt(b, dir.file("b.INT").c_str()));
    ASSERT_EQ(b.sampleCount, 64);
    EXPECT_NEAR(b.sampleRate, 32.0, 1e-9); // N / (N / fs)
    for (int j = 0; j < 64; ++j) {
        EXPECT_NEAR(b.value(0, j), signalAt(j + 8), 1e-5) << j;
        EXPECT_NEAR(b.sample(0, j).im, 0.0, 1e-5) << j;
    }
}

TEST(BatchFourier, RefusesWhatTheInputDoesNotHold) {
    TempDir dir;
    std::string in = writeInput(dir);
    std::string out = dir.file("x.TXT");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* reason;
    } cases[] = {
        {{"--channel", "2"}, 1, "ondarix-batch: channel 2 does not exist"},
        {{"--channel", "1", "--from", "0", "--to", "81"}, 1, "ondarix-batch: range 0..81"},
        {{"--channel", "1", "--from", "-1", "--to", "10"}, 1, "ondarix-batch: range -1..10"},
        {{"--channel", "1", "--from", "5", "--to", "5"}, 1, "ondarix-batch: the range is empty"},
        {{"--channel", "one"}, 2, "ondarix-batch: --channel"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"fourier", in, "-o", out};
        args.insert(args.end(), c.args.begin(), c.args.end());
        CommandResult r = runBatch(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.reason;
        EXPECT_EQ(r.err.rfind(c.reason, 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
        EXPECT_TRUE(readBytes(out).empty()) << "nothing written";
    }
    EXPECT_EQ(runBatch({"fourier", in, "-o", dir.file("x.wav")}).exitCode, 2);
    EXPECT_EQ(runBatch({"fourier", in}).exitCode, 2);
}
