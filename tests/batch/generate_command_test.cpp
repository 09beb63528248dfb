// ondarix-batch generate, run as a user would.
#include <gtest/gtest.h>

#include <string>

#include "measure/int_format.h"
#include "measure/m11_format.h"
#include "measure/measure.h"
#include "measure/text_format.h"
#include "support/run_command.h"

TEST(BatchGenerate, WritesTheSignalAndPrintsThePeriod) {
    TempDir dir;
    CommandResult r = runBatch({"generate", "--model", "2", "-o", dir.file("g.INT")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // T for L = 8 m, h = 0.6 m by linear theory: 3.4156186 s (see the generator tests).
    EXPECT_EQ(r.out, "T = 3.415619 s\n");
    CMeasure m;
    ASSERT_TRUE(readInt(m, dir.file("g.INT").c_str()));
    EXPECT_EQ(m.sampleCount, 3 * 854 + 1);
    EXPECT_STREQ(m.channels[1].name, "Generated diff");

    // The same deterministic signal as .M11 carries channel 0 in metres.
    ASSERT_EQ(runBatch({"generate", "--model", "2", "-o", dir.file("g.m11")}).exitCode, 0);
    CMeasure w;
    ASSERT_EQ(readM11(w, dir.file("g.m11").c_str()), 0);
    ASSERT_EQ(w.sampleCount, m.sampleCount);
    for (int i = 0; i < m.sampleCount; i += 97)
        EXPECT_NEAR(w.value(0, i), m.value(0, i) / 100.0, 1e-6) << i;
}

TEST(BatchGenerate, OptionsReachTheirParameters) {
    TempDir dir;
    // Deep water, L = 1 m: T = sqrt(2 pi / g) = 0.800305 s; with dt = 0.01 s the
    // phases of 1, 2 and 3 waves take 80, 160 and 240 samples.
    CommandResult r = runBatch({"generate", "--wave-length", "1", "--depth", "100", "--time-step",
                                "0.01", "--waves", "1,2,3", "-o", dir.file("g.TXT")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "T = 0.800305 s\n");
    CMeasure m;
    ASSERT_TRUE(readText(m, dir.file("g.TXT").c_str()));
    EXPECT_EQ(m.sampleCount, 80 + 160 + 240 + 1);
    EXPECT_NEAR(m.sampleRate, 100.0, 1e-4); // from X values printed to 7 digits
}

TEST(BatchGenerate, BadParametersAndArguments) {
    TempDir dir;
    CommandResult r = runBatch({"generate", "--rise", "0", "-o", dir.file("g.INT")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "ondarix-batch: the rise factor must be a positive number\n");
    EXPECT_EQ(runBatch({"generate", "--waves", "5,5,99999999", "-o", dir.file("g.INT")}).exitCode,
              1);
    EXPECT_EQ(runBatch({"generate", "--degree", "-1", "-o", dir.file("g.INT")}).exitCode, 1);
    for (std::vector<std::string> args : {std::vector<std::string>{"generate"},
                                          {"generate", "-o", dir.file("g.wav")},
                                          {"generate", "-o", dir.file("g")},
                                          {"generate", "--waves", "1,2", "-o", dir.file("g.INT")},
                                          {"generate", "--depth", "deep", "-o", dir.file("g.INT")},
                                          {"generate", "--bogus", "-o", dir.file("g.INT")}}) {
        CommandResult bad = runBatch(args);
        EXPECT_EQ(bad.exitCode, 2) << args.back();
        EXPECT_NE(bad.err.find("usage:"), std::string::npos);
    }
}
