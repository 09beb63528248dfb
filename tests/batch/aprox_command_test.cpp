// ondarix-batch aprox on a measurement made of known sinusoids.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "measure/int_format.h"
#include "measure/measure.h"
#include "measure/text_format.h"
#include "support/run_command.h"

namespace {

const double PI = 3.141592653589793;

// Channel 1 of two: 0.1 + cos(pi t) - 0.25 sin(pi t) + 0.3 cos(3 pi t) +
// 0.5 sin(3 pi t), 20 Hz, 100 s. Channel 0 is a ramp that must not be fitted.
std::string writeWaves(const TempDir& dir) {
    CMeasure m;
    m.channelCount = 2;
    m.sampleCount = 2000;
    m.sampleRate = 20.0;
    if (!m.allocateSamples()) return "";
    for (int j = 0; j < 2000; ++j) {
        double t = j / 20.0;
        double y = 0.1 + std::cos(PI * t) - 0.25 * std::sin(PI * t) + 0.3 * std::cos(3 * PI * t) +
                   0.5 * std::sin(3 * PI * t);
        m.setSample(0, j, Sample{float(j), 0.0f});
        m.setSample(1, j, Sample{float(y), 0.0f});
    }
    std::string path = dir.file("waves.INT");
    return writeInt(m, path.c_str()) ? path : "";
}

// One channel, 1000 samples at 50 Hz of 0.5 cos(2 pi 0.4 t + 0.2).
std::string writeCosine(const TempDir& dir) {
    CMeasure m;
    m.channelCount = 1;
    m.sampleCount = 1000;
    m.sampleRate = 50.0;
    if (!m.allocateSamples()) return "";
    for (int j = 0; j < 1000; ++j)
        m.setSample(0, j, Sample{float(0.5 * std::cos(2 * PI * 0.4 * j / 50.0 + 0.2)), 0.0f});
    std::string path = dir.file("cosine.INT");
    return writeInt(m, path.c_str()) ? path : "";
}

std::string writeList(const TempDir& dir, const char* name, const char* text) {
    std::string path = dir.file(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return "";
    std::fputs(text, f);
    std::fclose(f);
    return path;
}

std::string readAll(const std::string& path) {
    auto bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(BatchAprox, FitsTheWavesAndWritesResultListAndCopyText) {
    TempDir dir;
    std::string in = writeWaves(dir);
    // Start a tenth of the frequency resolution (1/100 s) off each frequency.
    std::string list = writeList(dir, "start.txt",
                                 "1\t0\t2000\t2\r\n"
                                 "0.5010\t1.0000\t5.0000\t0.0000\t0.0000\t0.0000\r\n"
                                 "1.4990\t2.0000\t5.0000\t0.0000\t0.0000\t0.0000\r\n");
    ASSERT_FALSE(in.empty());
    ASSERT_FALSE(list.empty());
    std::string out = dir.file("fit.TXT"), listOut = dir.file("fitted.txt");
    CommandResult r = runBatch({"aprox", in, "--channel", "1", "--from", "2000", "--to", "0",
                                "--components", list, "-o", out, "--components-out", listOut});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Noise-free data of the model: the fit returns the generating values.
    EXPECT_EQ(r.out, "FRS1=[0.5000;1.5000]\r\n"
                     "AS11=1.0000-i*0.2500;\r\n"
                     "AS12=0.3000+i*0.5000;\r\n");
    // Channel, range and count first, then frequency, amplitude, k, a, d, eta.
    EXPECT_EQ(readAll(listOut), "1\t2000\t0\t2\r\n"
                                "0.5000\t1.0000\t5.0000\t1.0000\t-0.2500\t0.0000\r\n"
                                "1.5000\t2.0000\t5.0000\t0.3000\t0.5000\t0.0000\r\n");

    // Two component channels and the rest, each as a (re, im) pair.
    CMeasure result;
    ASSERT_TRUE(readText(result, out.c_str()));
    ASSERT_EQ(result.channelCount, 6);
    ASSERT_EQ(result.sampleCount, 2000);
    double worst = 0.0;
    for (int j = 0; j < 2000; ++j)
        worst = std::fmax(worst, std::fabs(result.value(4, j)));
    EXPECT_LT(worst, 1e-5);
    EXPECT_NEAR(result.value(0, 0), 1.0, 1e-5); // A of the first component at t = 0
}

TEST(BatchAprox, BadRequestsGiveOneLineAndExitOne) {
    TempDir dir;
    std::string in = writeWaves(dir);
    std::string same = writeList(dir, "same.txt",
                                 "1\t0\t2000\t2\r\n"
                                 "0.5000\t1.0000\t5.0000\t0.0000\t0.0000\t0.0000\r\n"
                                 "0.5000\t1.0000\t5.0000\t0.0000\t0.0000\t0.0000\r\n");
    std::string broken = writeList(dir, "broken.txt", "1\t0\t2000\t2\r\n0.5\r\n");
    std::string out = dir.file("fit.INT");
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"aprox", in});
        args.insert(args.end(), {"-o", out});
        return runBatch(args);
    };
    struct Case {
        std::vector<std::string> args;
        const char* reason;
    } cases[] = {
        {{"--channel", "2", "--from", "0", "--to", "10", "--components", same}, "channel 2"},
        {{"--channel", "1", "--from", "7", "--to", "7", "--components", same}, "empty"},
        {{"--channel", "1", "--from", "0", "--to", "10", "--components", broken}, "broken.txt"},
        {{"--channel", "1", "--from", "0", "--to", "2000", "--components", same}, "amplitudes"},
    };
    for (const Case& c : cases) {
        CommandResult r = run(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.reason;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    CommandResult flags =
        run({"--channel", "1", "--from", "0", "--to", "9", "--components", same, "--use-eta", "2"});
    EXPECT_EQ(flags.exitCode, 2);
}

TEST(BatchAprox, UseAdFromZeroAmplitudesFitsTheFrequency) {
    TempDir dir;
    std::string in = writeCosine(dir);
    std::string list = writeList(dir, "zero.txt", "0\t0\t1000\t1\r\n0.403\t0\t1\t0\t0\t0\r\n");
    CommandResult r =
        runBatch({"aprox", in, "--channel", "0", "--from", "0", "--to", "1000", "--components",
                  list, "--use-ad", "1", "--use-eta", "0", "-o", dir.file("fit.INT")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // Closed form: 0.5 cos(x + 0.2) = 0.5 cos 0.2 cos x - 0.5 sin 0.2 sin x,
    // so f = 0.4, A = 0.49003, D = -0.09933.
    EXPECT_EQ(r.out, "FRS1=[0.4000]\r\nAS11=0.4900-i*0.0993;\r\n");
}

TEST(BatchAprox, NegativeFrequencyIsRefusedAsKalmanRefusesIt) {
    TempDir dir;
    std::string in = writeCosine(dir);
    std::string list = writeList(dir, "neg.txt", "0\t0\t1000\t1\r\n-0.4\t0.5\t1\t0\t0\t0\r\n");
    std::string errors[2];
    const char* commands[2] = {"kalman", "aprox"};
    for (int i = 0; i < 2; ++i) {
        std::string out = dir.file(std::string(commands[i]) + ".INT");
        CommandResult r = runBatch({commands[i], in, "--channel", "0", "--from", "0", "--to",
                                    "1000", "--components", list, "-o", out});
        EXPECT_EQ(r.exitCode, 1) << commands[i];
        EXPECT_FALSE(std::filesystem::exists(out)) << commands[i];
        errors[i] = r.err;
    }
    EXPECT_NE(errors[0].find("frequency is negative"), std::string::npos) << errors[0];
    EXPECT_EQ(errors[1], errors[0]);
}

TEST(BatchComponentsAuto, BothAnalysesStartFromTheSpectrumsPeaks) {
    TempDir dir;
    std::string in = writeWaves(dir);
    ASSERT_FALSE(in.empty());
    CommandResult fit = runBatch({"aprox", in, "--channel", "1", "--from", "0", "--to", "2000",
                                  "--components", "auto:2", "-o", dir.file("fit.INT")});
    ASSERT_EQ(fit.exitCode, 0) << fit.err;
    EXPECT_EQ(fit.out, "FRS1=[0.5000;1.5000]\r\n"
                       "AS11=1.0000-i*0.2500;\r\n"
                       "AS12=0.3000+i*0.5000;\r\n");
    std::string listOut = dir.file("kalman.txt");
    CommandResult filter =
        runBatch({"kalman", in, "--channel", "1", "--from", "0", "--to", "2000", "--components",
                  "auto:2", "-o", dir.file("kalman.INT"), "--components-out", listOut});
    ASSERT_EQ(filter.exitCode, 0) << filter.err;
    // The peaks on the bins of 0.5 and 1.5 Hz, in order of frequency.
    const std::string list = readAll(listOut);
    EXPECT_EQ(list.substr(0, list.find("\r\n")), "1\t0\t2000\t2");
    EXPECT_NE(list.find("\r\n0.5000\t"), std::string::npos) << list;
    EXPECT_NE(list.find("\r\n1.5000\t"), std::string::npos) << list;

    for (const char* bad : {"auto:0", "auto:x", "auto:11"}) {
        CommandResult r = runBatch({"aprox", in, "--channel", "1", "--from", "0", "--to", "2000",
                                    "--components", bad, "-o", dir.file("bad.INT")});
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_NE(r.err.find("auto:K"), std::string::npos) << r.err;
    }
    CommandResult tiny = runBatch({"kalman", in, "--channel", "1", "--from", "0", "--to", "5",
                                   "--components", "auto:1", "-o", dir.file("tiny.INT")});
    EXPECT_EQ(tiny.exitCode, 1);
    EXPECT_EQ(tiny.err.rfind("ondarix-batch: --components auto:1: ", 0), 0u) << tiny.err;
    EXPECT_EQ(std::count(tiny.err.begin(), tiny.err.end(), '\n'), 1) << tiny.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("tiny.INT")));
}
