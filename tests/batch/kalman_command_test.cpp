// ondarix-batch kalman on a measurement made of known sinusoids.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "measure/component_list_text.h"
#include "measure/int_format.h"
#include "measure/measure.h"
#include "measure/text_format.h"
#include "support/run_command.h"

namespace {

const double PI = 3.141592653589793;

// Channel 1 of two: 0.8 cos(pi t) + 0.3 cos(3 pi t), 20 Hz, 100 s.
std::string writeWaves(const TempDir& dir) {
    CMeasure m;
    m.channelCount = 2;
    m.sampleCount = 2000;
    m.sampleRate = 20.0;
    if (!m.allocateSamples()) return "";
    for (int j = 0; j < 2000; ++j) {
        double t = j / 20.0;
        m.setSample(0, j, Sample{float(j), 0.0f});
        m.setSample(1, j, Sample{float(0.8 * std::cos(PI * t) + 0.3 * std::cos(3 * PI * t)), 0.0f});
    }
    setChannelInfo(m.channels[1], 1.0, 0.0, "m", "Gauge");
    std::string path = dir.file("waves.INT");
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

const char* const START_LIST = "1\t0\t2000\t2\r\n"
                               "0.5000\t1.0000\t10.0000\t0.0000\t0.0000\t0.0000\r\n"
                               "1.5000\t0.5000\t10.0000\t0.0000\t0.0000\t0.0000\r\n";

} // namespace

TEST(BatchKalman, SplitsTheWavesAndReportsTheEstimates) {
    TempDir dir;
    std::string in = writeWaves(dir), list = writeList(dir, "start.txt", START_LIST);
    ASSERT_FALSE(in.empty());
    std::string out = dir.file("split.TXT"), listOut = dir.file("estimated.txt");
    CommandResult r = runBatch({"kalman", in, "--channel", "1", "--from", "0", "--to", "2000",
                                "--components", list, "--model", "2", "--observation-error", "1",
                                "-o", out, "--components-out", listOut});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // "Copy all": the range, frequency / amplitude / K per component, then the
    // estimated observation error, damping and model.
    float f1, a1, k1, f2, a2, k2, error;
    int channel, from, to, count, damp, model;
    ASSERT_EQ(std::sscanf(r.out.c_str(), "%d\t%d\t%d\t%d\r\n%f\t%f\t%f\r\n%f\t%f\t%f\r\n%f\t%d\t%d",
                          &channel, &from, &to, &count, &f1, &a1, &k1, &f2, &a2, &k2, &error, &damp,
                          &model),
              13)
        << r.out;
    EXPECT_EQ(count, 2);
    EXPECT_EQ(model, 2);
    EXPECT_EQ(damp, 0);
    EXPECT_NEAR(a1, 0.8, 0.8 * 0.03); // the amplitudes of the generated waves
    EXPECT_NEAR(a2, 0.3, 0.3 * 0.03);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4);

    BlockRange range{};
    SignalParameters estimated;
    auto bytes = readBytes(listOut);
    ASSERT_TRUE(parseComponentList(std::string(bytes.begin(), bytes.end()), range, estimated));
    EXPECT_EQ(range.to, 2000);
    EXPECT_NEAR(estimated.components[1].amplitude, 0.3, 0.3 * 0.03);
    EXPECT_EQ(estimated.components[1].k, 10.0);

    // Component, its derivative, component, its derivative, rest, each as a
    // (re, im) column pair that reads back as two channels; the rest of
    // noise-free waves is small once the filter has settled.
    CMeasure result;
    ASSERT_TRUE(readText(result, out.c_str()));
    ASSERT_EQ(result.channelCount, 10);
    ASSERT_EQ(result.sampleCount, 2000);
    double worst = 0.0;
    for (int j = 500; j < 2000; ++j)
        worst = std::fmax(worst, std::fabs(result.value(8, j)));
    EXPECT_LT(worst, 0.02);

    std::string intOut = dir.file("split.INT");
    ASSERT_EQ(runBatch({"kalman", in, "--channel", "1", "--from", "2000", "--to", "0",
                        "--components", list, "-o", intOut})
                  .exitCode,
              0);
    CMeasure saved;
    ASSERT_TRUE(readInt(saved, intOut.c_str()));
    ASSERT_EQ(saved.channelCount, 5);
    EXPECT_STREQ(saved.channels[1].name, "Component no 1 diff");
    EXPECT_STREQ(saved.channels[1].unit, "m/s");
    EXPECT_STREQ(saved.channels[4].name, "Rest");
}

TEST(BatchKalman, BadRequestsAreRefusedWithOneLine) {
    TempDir dir;
    std::string in = writeWaves(dir), good = writeList(dir, "good.txt", START_LIST);
    std::string noK = writeList(dir, "nok.txt", "1\t0\t2000\t1\r\n1\t1\t0\t0\t0\t0\r\n");
    std::string broken = writeList(dir, "broken.txt", "1\t0\t2000\t2\r\n0.5\r\n");
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"kalman", in});
        args.insert(args.end(), {"-o", dir.file("out.TXT")});
        return runBatch(args);
    };
    struct Case {
        std::vector<std::string> args;
        const char* reason;
    } cases[] = {
        {{"--channel", "2", "--from", "0", "--to", "10", "--components", good}, "channel 2"},
        {{"--channel", "1", "--from", "0", "--to", "2001", "--components", good}, "outside"},
        {{"--channel", "1", "--from", "5", "--to", "5", "--components", good}, "empty"},
        {{"--channel", "1", "--from", "0", "--to", "10", "--components", broken}, "broken.txt"},
        {{"--channel", "1", "--from", "0", "--to", "10", "--components", noK}, "K"},
    };
    for (const Case& c : cases) {
        CommandResult r = run(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.reason;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    // Malformed options are usage errors.
    for (const char* option : {"--model", "--use-damp", "--observation-error"})
        EXPECT_EQ(
            run({"--channel", "1", "--from", "0", "--to", "10", "--components", good, option, "-4"})
                .exitCode,
            2)
            << option;
}
