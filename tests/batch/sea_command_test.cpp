// ondarix-batch sea, run as a flume lab would: a drive for each paddle, the
// same bytes for a seed, refusals, and a correction round on a simulated flume.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "measure/int_format.h"
#include "measure/m11_format.h"
#include "measure/measure.h"
#include "measure/text_format.h"
#include "sea/sea_synthesis.h"
#include "support/run_command.h"
#include "support/sea_flume.h"

namespace {

std::vector<std::string> seaArgs(const std::string& paddle, const std::string& out,
                                 std::vector<std::string> more = {}) {
    std::vector<std::string> a = {"sea",  "--spectrum", "jonswap", "--hm0", "0.1",
                                  "--tp", "1.6",        "--depth", "0.6",   "--paddle",
                                  paddle, "--duration", "600",     "-o",    out};
    // A --spectrum of its own replaces JONSWAP: given twice it would ask for
    // a composite sea.
    for (size_t i = 0; i + 1 < more.size(); ++i)
        if (more[i] == "--spectrum") {
            a[2] = more[i + 1];
            more.erase(more.begin() + int64_t(i), more.begin() + int64_t(i) + 2);
            break;
        }
    a.insert(a.end(), more.begin(), more.end());
    return a;
}

SeaParameters seaParameters(PaddleType paddle) {
    SeaParameters p;
    p.paddle.type = paddle;
    p.duration = 600;
    return p;
}

// The elevation a drive file makes in a flume that loses a fifth of the
// height above the peak, written as a gauge's .INT record in cm.
void flumeRecordFile(const std::string& drivePath, const SeaParameters& p,
                     const std::string& recordPath) {
    CMeasure drive;
    ASSERT_EQ(readM11(drive, drivePath.c_str()), 0);
    std::vector<double> x;
    for (int32_t i = 0; i < drive.sampleCount; ++i)
        x.push_back(drive.value(0, i));
    const BlockValues record =
        flumeRecord(flumeElevationBins(x, p, [](double f) { return f > 0.625 ? 0.8 : 1.0; }),
                    drive.sampleCount, p.dt);
    CMeasure m;
    ASSERT_TRUE(m.allocateSamples(int64_t(record.values.size()), 1, SAMPLE_FORMAT_REAL));
    m.sampleRate = 1 / p.dt;
    setChannelInfo(m.channels[0], 1, 0, "cm", "Gauge 1");
    resetParameters(m.signalParameters[0]);
    for (int32_t i = 0; i < m.sampleCount; ++i)
        m.setSample(0, i, Sample{float(100 * record.values[size_t(i)]), 0.0f});
    std::string why;
    ASSERT_TRUE(writeInt(m, recordPath.c_str(), &why)) << why;
}

} // namespace

TEST(BatchSea, WritesTheDriveOfEachPaddle) {
    TempDir dir;
    CommandResult r = runBatch(seaArgs("piston", dir.file("piston.M11"), {"--seed", "4"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Hm0 target                 0.1 m\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("largest stroke"), std::string::npos) << r.out;
    // The synthesiser's file holds the core's drive, in metres.
    SeaParameters p = seaParameters(PaddleType::Piston);
    p.seed = 4;
    SeaDrive d;
    ASSERT_TRUE(synthesiseSea(p, d, nullptr));
    CMeasure m;
    ASSERT_EQ(readM11(m, dir.file("piston.M11").c_str()), 0);
    ASSERT_EQ(m.sampleCount, 30000);
    for (int32_t i = 0; i < m.sampleCount; i += 7)
        ASSERT_EQ(m.value(0, i), float(d.displacement[size_t(i)])) << i;

    r = runBatch(seaArgs("flap", dir.file("flap.TXT"), {"--hinge", "0.15", "--json"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"paddle\": \"flap\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"stroke\": "), std::string::npos) << r.out;
    CMeasure t;
    ASSERT_TRUE(readText(t, dir.file("flap.TXT").c_str()));
    EXPECT_EQ(t.channelCount, 2);
    // A flap hinged above the bottom needs more stroke than a piston.
    double flapStroke = 0, pistonStroke = 0;
    for (int32_t i = 0; i < t.sampleCount; ++i) {
        flapStroke = std::max(flapStroke, double(std::abs(t.value(0, i))));
        pistonStroke = std::max(pistonStroke, double(std::abs(m.value(0, i))));
    }
    EXPECT_GT(flapStroke, 1.5 * pistonStroke);
}

TEST(BatchSea, SameSeedSameBytes) {
    TempDir dir;
    for (const char* name : {"a.M11", "b.M11"})
        ASSERT_EQ(
            runBatch(seaArgs("flap", dir.file(name), {"--seed", "11", "--method", "amplitude"}))
                .exitCode,
            0);
    ASSERT_EQ(
        runBatch(seaArgs("flap", dir.file("c.M11"), {"--seed", "12", "--method", "amplitude"}))
            .exitCode,
        0);
    const auto a = readBytes(dir.file("a.M11"));
    EXPECT_GT(a.size(), 30000u * 8);
    EXPECT_EQ(a, readBytes(dir.file("b.M11")));
    EXPECT_NE(a, readBytes(dir.file("c.M11")));
}

TEST(BatchSea, BadInputIsOneLineAndWritesNothing) {
    TempDir dir;
    writeString(dir.file("down.csv"), "f,S\n0.2,0.001\n0.6,0.002\n0.5,0.003\n");
    const std::string out = dir.file("d.M11");
    struct Case {
        std::vector<std::string> args;
        const char* why;
    };
    const Case cases[] = {
        {seaArgs("piston", out, {"--hm0", "0"}), "Hm0 must be a number above 0 m"},
        {seaArgs("piston", out, {"--fmin", "0.7"}), "Tp must lie inside the band"},
        {seaArgs("piston", out, {"--depth", "-0.6"}), "the depth must be a number above 0 m"},
        {seaArgs("flap", out, {"--hinge", "0.7"}), "the hinge must lie at or above the bottom"},
        {seaArgs("piston", out, {"--spectrum", dir.file("down.csv")}),
         "the spectrum table's frequencies must increase"},
        {seaArgs("piston", out, {"--spectrum", dir.file("none.txt")}),
         "cannot open the spectrum table"},
        {seaArgs("piston", out, {"--max-stroke", "0.05"}), "more than the limit 0.05 m"},
        {seaArgs("piston", out, {"--max-velocity", "0.1"}), "more than the limit 0.1 m/s"},
        {seaArgs("piston", out, {"--hm0", "1e200", "--max-stroke", "0.5"}),
         "Hm0 must be at most 0.78 of the depth"},
        {seaArgs("piston", out, {"--depth", "1e-300"}), "Hm0 must be at most 0.78 of the depth"},
        {seaArgs("flap", out, {"--hinge", "0.5999999999"}), "the paddle makes a wave of only"},
        {seaArgs("piston", out, {"--fmin", "nan"}), "fmin must be a number >= 0 Hz"},
        {seaArgs("piston", out, {"--fmax", "-2"}), "fmax must be a number >= 0 Hz"},
        {seaArgs("piston", out, {"--ramp", "-0.5"}), "the ramps must be a number of seconds >= 0"},
    };
    for (const Case& c : cases) {
        CommandResult r = runBatch(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.why;
        EXPECT_EQ(r.err.rfind("ondarix-batch: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.why), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(countEntries(dir.path()), 1) << c.why; // only the table
    }
}

// A spectrum table is read as a file of the user's, never as a stream: a
// FIFO (or a device, which the same check refuses) is not waited on, a huge
// file not read whole.
TEST(BatchSea, TableThatIsNoTableFileIsRefusedAtOnce) {
    TempDir dir;
    const std::string fifo = dir.file("table.fifo"), big = dir.file("big.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    writeString(big, "f S\n");
    ASSERT_EQ(truncate(big.c_str(), (16 << 20) + 1), 0);
    const std::pair<std::string, const char*> cases[] = {
        {fifo, "not a regular file"},
        {big, "larger than 16 MiB"},
    };
    for (const auto& [table, why] : cases) {
        CommandResult r = runBatch(seaArgs("piston", dir.file("d.M11"), {"--spectrum", table}));
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
        EXPECT_EQ(countEntries(dir.path()), 2);
    }
}

TEST(BatchSea, BadArgumentsAreUsageErrors) {
    TempDir dir;
    const std::string out = dir.file("d.M11");
    const std::vector<std::vector<std::string>> cases = {
        {"sea", "--hm0", "0.1", "--tp", "1.6", "--depth", "0.6", "--paddle", "piston", "--duration",
         "60", "-o", out},
        seaArgs("wedge", out),
        seaArgs("piston", out, {"--method", "random"}),
        seaArgs("piston", out, {"--regular", "0.1"}),
        seaArgs("piston", out, {"--seed", "-1"}),
        seaArgs("piston", out, {"--hm0", "tall"}),
        seaArgs("piston", out, {"--smooth", "3"}),
        seaArgs("piston", out, {"--from", "3"}),
        seaArgs("piston", out, {"--bogus"}),
        seaArgs("piston", dir.file("d.wav")),
        seaArgs("piston", dir.file("d")),
    };
    for (const auto& args : cases) {
        CommandResult r = runBatch(args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_EQ(r.err.rfind("ondarix-batch: ", 0), 0u) << r.err;
    }
    EXPECT_EQ(countEntries(dir.path()), 0);
}

TEST(BatchSea, RegularWaves) {
    TempDir dir;
    CommandResult r = runBatch({"sea", "--regular", "0.08,1.37", "--depth", "0.6", "--paddle",
                                "piston", "--duration", "120", "-o", dir.file("r.M11")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("spectrum                   regular"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Tp target                  1.37 s"), std::string::npos) << r.out;
}

TEST(BatchSea, CorrectionRoundFromTheMeasuredRecord) {
    TempDir dir;
    const SeaParameters p = seaParameters(PaddleType::Piston);
    ASSERT_EQ(runBatch(seaArgs("piston", dir.file("d0.M11"))).exitCode, 0);
    flumeRecordFile(dir.file("d0.M11"), p, dir.file("gauge.INT"));
    CommandResult r = runBatch(seaArgs("piston", dir.file("d1.M11"),
                                       {"--correct", dir.file("gauge.INT"), "--channel", "0",
                                        "--drive", dir.file("d0.M11"), "--json"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"measured_Hm0\": 0.08"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"band_error\": 0.3"), std::string::npos) << r.out;
    // Without --drive the drive is made again from the same parameters and seed.
    r = runBatch(seaArgs("piston", dir.file("d1b.M11"),
                         {"--correct", dir.file("gauge.INT"), "--from", "0"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    CMeasure a, b;
    ASSERT_EQ(readM11(a, dir.file("d1.M11").c_str()), 0);
    ASSERT_EQ(readM11(b, dir.file("d1b.M11").c_str()), 0);
    double largest = 0, worst = 0;
    for (int32_t i = 0; i < a.sampleCount; ++i) {
        largest = std::max(largest, double(std::abs(a.value(0, i))));
        worst = std::max(worst, double(std::abs(a.value(0, i) - b.value(0, i))));
    }
    EXPECT_LT(worst, 1e-4 * largest);
    // The second round starts from the first's drive and record.
    flumeRecordFile(dir.file("d1.M11"), p, dir.file("gauge1.INT"));
    r = runBatch(
        seaArgs("piston", dir.file("d2.M11"),
                {"--correct", dir.file("gauge1.INT"), "--drive", dir.file("d1.M11"), "--json"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"measured_Hm0\": 0.09"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"band_error\": 0.0"), std::string::npos) << r.out;
    // The record is the drive's output: writing over it is refused.
    r = runBatch(seaArgs("piston", dir.file("gauge.INT"), {"--correct", dir.file("gauge.INT")}));
    EXPECT_EQ(r.exitCode, 1);
}

TEST(BatchSea, UserTableAsTheSpectrumCommandWritesIt) {
    TempDir dir;
    const SeaParameters p = seaParameters(PaddleType::Piston);
    ASSERT_EQ(runBatch(seaArgs("piston", dir.file("d0.M11"))).exitCode, 0);
    flumeRecordFile(dir.file("d0.M11"), p, dir.file("gauge.INT"));
    ASSERT_EQ(runBatch({"spectrum", dir.file("gauge.INT"), "-o", dir.file("s.TXT")}).exitCode, 0);
    CommandResult r =
        runBatch(seaArgs("flap", dir.file("t.M11"), {"--spectrum", dir.file("s.TXT"), "--json"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"spectrum\": \"table\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"Hm0\": 0.1"), std::string::npos) << r.out;
}

// A record without waves would double the drive, a previous drive of
// another length or rate would change the sea's duration: both are refused.
TEST(BatchSea, CorrectionRefusesARecordOrDriveThatDoesNotFit) {
    TempDir dir;
    const SeaParameters p = seaParameters(PaddleType::Piston);
    ASSERT_EQ(runBatch(seaArgs("piston", dir.file("d0.M11"))).exitCode, 0);
    flumeRecordFile(dir.file("d0.M11"), p, dir.file("gauge.INT"));
    std::string still = "gauge [m]\n";
    for (int i = 0; i < 30000; ++i)
        still += "0.25\n";
    writeString(dir.file("still.csv"), still);
    CommandResult r = runBatch(seaArgs("piston", dir.file("d1.M11"),
                                       {"--correct", dir.file("still.csv"), "--rate", "50"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("the measured record holds no waves in the band: Hm0 0 m there, the "
                         "target's 0.1 m"),
              std::string::npos)
        << r.err;
    std::vector<std::string> shorter = seaArgs("piston", dir.file("short.M11"));
    shorter[shorter.size() - 3] = "81.92";
    ASSERT_EQ(runBatch(shorter).exitCode, 0);
    r = runBatch(seaArgs("piston", dir.file("d1.M11"),
                         {"--correct", dir.file("gauge.INT"), "--drive", dir.file("short.M11")}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("the previous drive has 4096 samples at 50 Hz, the sea's parameters "
                         "30000 at 50 Hz"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(countEntries(dir.path()), 4);
}

// A gauge record from another tool, a CSV without a time column, is read as
// every input is: refused without its rate, corrected with --rate.
TEST(BatchSea, MeasuredRecordTakesTheReadingOptions) {
    TempDir dir;
    const SeaParameters p = seaParameters(PaddleType::Piston);
    ASSERT_EQ(runBatch(seaArgs("piston", dir.file("d0.M11"))).exitCode, 0);
    flumeRecordFile(dir.file("d0.M11"), p, dir.file("gauge.INT"));
    CMeasure gauge;
    ASSERT_TRUE(readInt(gauge, dir.file("gauge.INT").c_str()));
    std::ostringstream csv;
    csv << "gauge [" << gauge.channels[0].unit << "]\n";
    for (int32_t i = 0; i < gauge.sampleCount; ++i)
        csv << gauge.value(0, i) << "\n";
    writeString(dir.file("gauge.csv"), csv.str());
    CommandResult r = runBatch(
        seaArgs("piston", dir.file("d1.M11"), {"--correct", dir.file("gauge.csv"), "--json"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("--rate HZ"), std::string::npos) << r.err;
    const std::string rate = std::to_string(gauge.sampleRate);
    r = runBatch(seaArgs("piston", dir.file("d1.M11"),
                         {"--correct", dir.file("gauge.csv"), "--rate", rate, "--json"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"measured_Hm0\": 0.08"), std::string::npos) << r.out;
    // Without a record to read, a reading option is a usage error.
    EXPECT_EQ(runBatch(seaArgs("piston", dir.file("d2.M11"), {"--rate", rate})).exitCode, 2);
}
