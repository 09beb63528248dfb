// ondarix-batch waves, spectrum and reflection, run as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "measure/int_format.h"
#include "measure/measure.h"
#include "measure/measure_file.h"
#include "numeric/dispersion.h"
#include "support/run_command.h"
#include "waves/block_values.h"
#include "waves/spectrum_report.h"

namespace {

constexpr double PI = 3.141592653589793;
constexpr double RATE = 20.0;
constexpr int ROWS = 8000;

// Channel 0: 0.05 sin(2 pi (j + 0.5) / 40), a wave of H = 0.1 m, T = 2 s
// whose down-crossings are at rows 19.5 + 40 k (k = 0..199): 199 waves.
// Channels 1 and 2: a regular wave of L = 2 m in 0.5 m of water at x = 0 and
// 0.4 m, incident amplitude 0.05 plus a reflection of 0.3 of it.
std::string writeInput(const TempDir& dir) {
    CMeasure m;
    m.channelCount = 3;
    m.sampleCount = ROWS;
    m.sampleRate = RATE;
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    EXPECT_TRUE(m.allocateSamples());
    const double omega = dispersionOmega(2.0, 0.5), k = PI;
    const double x[2] = {0.0, 0.4};
    for (int j = 0; j < ROWS; ++j) {
        double t = j / RATE;
        m.setSample(0, j, Sample{float(0.05 * std::sin(2 * PI * (j + 0.5) / 40)), 0.0f});
        for (int g = 0; g < 2; ++g) {
            double v = 0.05 * std::cos(omega * t - k * x[g]) +
                       0.015 * std::cos(omega * t + k * x[g] + 1.0);
            m.setSample(g + 1, j, Sample{float(v), 0.0f});
        }
    }
    for (int c = 0; c < 3; ++c)
        setChannelInfo(m.channels[c], 1.0, 0.0, "m", "Gauge");
    std::string path = dir.file("in.INT");
    EXPECT_TRUE(writeInt(m, path.c_str()));
    return path;
}

// The number after "key": in a flat JSON object; NAN when absent or null.
double jsonField(const std::string& json, const std::string& key) {
    size_t at = json.find("\"" + key + "\": ");
    if (at == std::string::npos) return NAN;
    const char* p = json.c_str() + at + key.size() + 4;
    char* end;
    double v = std::strtod(p, &end);
    return end == p ? NAN : v;
}

// One line on stderr, naming the program, and exit code 1.
void expectOneLineFailure(const CommandResult& r, const std::string& part) {
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.rfind("ondarix-batch: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
}

} // namespace

TEST(WavesCommand, RegularWaveInJsonAndTheWaveList) {
    TempDir dir;
    std::string in = writeInput(dir), list = dir.file("waves.TXT");
    CommandResult r =
        runBatch({"waves", in, "--channel", "0", "--json", "--waves-out", list, "--up"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Up-crossings at rows 39.5 + 40 k (k = 0..198): 198 waves.
    EXPECT_EQ(jsonField(r.out, "count"), 198);
    // Extremes half a sample off: H cos(pi / 40).
    EXPECT_NEAR(jsonField(r.out, "H1/3"), 0.1 * std::cos(PI / 40), 1e-6);
    EXPECT_NEAR(jsonField(r.out, "Tz"), 2.0, 1e-6);
    auto bytes = readBytes(list);
    std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 199); // header + 198 waves
    EXPECT_EQ(text.rfind("index\tstart (s)\tperiod (s)\theight\tcrest\ttrough\r\n", 0), 0u);
    // Wave 1 starts at the up-crossing at row 39.5, 1.975 s.
    EXPECT_EQ(text.find("\r\n1\t1.975\t2\t"), text.find("\r\n")) << text.substr(0, 200);
}

TEST(WavesCommand, PlainTextAndBadInput) {
    TempDir dir;
    std::string in = writeInput(dir);
    CommandResult r = runBatch({"waves", in, "--channel", "0"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Waves                  199\n"), std::string::npos) << r.out;
    expectOneLineFailure(runBatch({"waves", in, "--channel", "0", "--threshold", "1"}),
                         "no complete wave");
    expectOneLineFailure(runBatch({"waves", in, "--channel", "0", "--threshold", "-1"}),
                         "threshold");
    EXPECT_EQ(runBatch({"waves", in, "--threshold", "x"}).exitCode, 2);
    // Rows 0..240: down-crossings at 19.5 + 40 k (k = 0..5), 5 waves, too few
    // for a highest tenth.
    r = runBatch({"waves", in, "--channel", "0", "--to", "240", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"count\": 5,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"H1/10\": null,"), std::string::npos) << r.out;
}

TEST(WavesCommand, HeightDistributionAndTheCompositeWeibullAtFullPrecision) {
    TempDir dir;
    std::string in = writeInput(dir);
    CommandResult r =
        runBatch({"waves", in, "--channel", "0", "--json", "--depth", "0.5", "--slope", "0.02"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // 199 equal waves of H cos(pi / 40); Hm0 = 4 sqrt(m0) of a sine of 0.05
    // sampled at 40 points a period.
    const double h = 0.1 * std::cos(PI / 40), hm0 = jsonField(r.out, "Hm0");
    EXPECT_NEAR(hm0, 4 * 0.05 / std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(jsonField(r.out, "H2%"), h, 1e-6);
    EXPECT_NEAR(jsonField(r.out, "H1%"), h, 1e-6);
    EXPECT_NEAR(jsonField(r.out, "Hmax/Hm0"), jsonField(r.out, "Hmax") / hm0, 1e-15);
    EXPECT_DOUBLE_EQ(jsonField(r.out, "BG Htr"), (0.35 + 5.8 * 0.02) * 0.5);
    EXPECT_DOUBLE_EQ(jsonField(r.out, "BG Hrms"), (0.6725 + 0.2025 * hm0 / 0.5) * hm0);
    EXPECT_DOUBLE_EQ(jsonField(r.out, "BG Htr/Hrms"),
                     jsonField(r.out, "BG Htr") / jsonField(r.out, "BG Hrms"));
    for (const char* key : {"BG H1/3", "BG H1/10", "BG H2%", "BG H1%"})
        EXPECT_GT(jsonField(r.out, key), 0) << key;
    // One exceedance point per wave in each array.
    for (const char* key :
         {"exceedance H", "exceedance measured", "exceedance Rayleigh", "exceedance Weibull"}) {
        size_t at = r.out.find(std::string("\"") + key + "\": [");
        ASSERT_NE(at, std::string::npos) << key;
        std::string list = r.out.substr(at, r.out.find(']', at) - at);
        EXPECT_EQ(std::count(list.begin(), list.end(), ','), 198) << key;
    }
    r = runBatch({"waves", in, "--channel", "0"});
    EXPECT_NE(r.out.find("H2% (m)"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("BG H1%"), std::string::npos) << r.out;
    EXPECT_EQ(runBatch({"waves", in, "--depth", "0.5"}).exitCode, 2);
    expectOneLineFailure(runBatch({"waves", in, "--depth", "0", "--slope", "0.02"}), "depth");
}

TEST(SpectrumCommand, SineGivesHm0AndTpAndASpectrumFile) {
    TempDir dir;
    std::string in = writeInput(dir), out = dir.file("s.TXT");
    CommandResult r =
        runBatch({"spectrum", in, "--channel", "0", "--segment", "400", "--json", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // 200 whole periods: variance a^2 / 2, Hm0 = 4 * 0.05 / sqrt(2); 0.5 Hz
    // is bin 10 of df = 20 / 400. The least-squares line of the default
    // detrend takes a sliver (1e-5) of a sine's variance with it.
    EXPECT_NEAR(jsonField(r.out, "Hm0"), 0.2 / std::sqrt(2.0), 2e-6);
    EXPECT_DOUBLE_EQ(jsonField(r.out, "Tp"), 2.0);
    EXPECT_DOUBLE_EQ(jsonField(r.out, "df"), 0.05);
    CMeasure s;
    std::string why;
    ASSERT_TRUE(readMeasure(s, out, FileType::Text, &why)) << why;
    EXPECT_EQ(s.sampleCount, 201);
    EXPECT_NEAR(s.sampleRate, 20.0, 1e-6); // rows 0.05 Hz apart
    expectOneLineFailure(runBatch({"spectrum", in, "--segment", "9000"}), "shorter than a segment");
    expectOneLineFailure(runBatch({"spectrum", in, "--fmin", "3", "--fmax", "1"}), "fmax");
    EXPECT_EQ(runBatch({"spectrum", in, "-o", dir.file("s.WAV")}).exitCode, 2);
}

TEST(SpectrumCommand, DetrendPeakPeriodsAndBandInJsonAndTheFile) {
    // Channel 0 of a file of its own: a wave between bins (0.53 Hz) on a
    // drift of 2 cm over the record.
    TempDir dir;
    CMeasure m;
    m.channelCount = 1;
    m.sampleCount = ROWS;
    m.sampleRate = RATE;
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    ASSERT_TRUE(m.allocateSamples());
    for (int j = 0; j < ROWS; ++j)
        m.setSample(0, j,
                    Sample{float(0.05 * std::sin(2 * PI * 0.53 * j / RATE) + 0.02 * j / ROWS), 0});
    setChannelInfo(m.channels[0], 1.0, 0.0, "m", "Gauge");
    const std::string in = dir.file("drift.INT"), out = dir.file("s.TXT");
    ASSERT_TRUE(writeInt(m, in.c_str()));
    CommandResult r = runBatch({"spectrum", in, "--segment", "400", "--json", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Every value as the core gives it, to the last bit, linear by default.
    BlockValues block;
    ASSERT_TRUE(blockValues(m, BlockRange{0, 0, ROWS}, block));
    SpectrumReport expected;
    ASSERT_TRUE(spectrumReport(block, 400, Detrend::Linear, SpectralBand{}, expected, nullptr));
    const SpectralParameters& p = expected.parameters;
    EXPECT_EQ(jsonField(r.out, "Hm0"), p.hm0);
    EXPECT_EQ(jsonField(r.out, "Tp"), p.tp);
    EXPECT_EQ(jsonField(r.out, "Tp_parabola"), p.tpParabola);
    EXPECT_EQ(jsonField(r.out, "Tp5"), p.tp5);
    EXPECT_EQ(jsonField(r.out, "TpD"), p.tpD);
    EXPECT_EQ(jsonField(r.out, "dof"), expected.band.dof);
    EXPECT_EQ(jsonField(r.out, "band_level"), 0.9);
    EXPECT_EQ(jsonField(r.out, "band_lower"), expected.band.lowerFactor);
    EXPECT_EQ(jsonField(r.out, "band_upper"), expected.band.upperFactor);
    // 0.53 Hz lies between bins 10 and 11 (0.05 Hz apart): the parabola
    // finds it within 1 % (the Hann peak is no parabola), the largest bin
    // 3.6 % off.
    EXPECT_NEAR(jsonField(r.out, "Tp_parabola"), 1 / 0.53, 0.02);
    EXPECT_GT(std::fabs(jsonField(r.out, "Tp") - 1 / 0.53), 0.03);
    // 39 segments of 400: nu = 36 K^2 / (19 K - 1).
    EXPECT_NEAR(jsonField(r.out, "dof"), 36.0 * 39 * 39 / (19 * 39 - 1), 1e-9);
    // The file holds the density and the band under it and over it.
    CMeasure s;
    std::string why;
    ASSERT_TRUE(readMeasure(s, out, FileType::Text, &why)) << why;
    ASSERT_EQ(s.channelCount, 3);
    EXPECT_NEAR(s.value(1, 11) / s.value(0, 11), expected.band.lowerFactor, 1e-5);
    EXPECT_NEAR(s.value(2, 11) / s.value(0, 11), expected.band.upperFactor, 1e-5);
    // The drift left in by --detrend mean is mostly taken out with the
    // segments' means: Hm0 stays the sine's 4 * 0.05 / sqrt(2), and the
    // line's variance 0.02^2 / 12 shows below f1 instead.
    const double hm0 = 0.2 / std::sqrt(2.0);
    EXPECT_NEAR(jsonField(r.out, "Hm0") / hm0, 1, 0.005);
    const double lineBelow = jsonField(r.out, "variance_below_f1");
    r = runBatch({"spectrum", in, "--segment", "400", "--json", "--detrend", "mean"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(jsonField(r.out, "Hm0") / hm0, 1, 0.005);
    EXPECT_NEAR(jsonField(r.out, "variance_below_f1") - lineBelow, 0.02 * 0.02 / 12,
                0.1 * 0.02 * 0.02 / 12);
    // The text lists them too.
    r = runBatch({"spectrum", in, "--segment", "400", "--detrend", "none"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* label : {"Tp parabola (s)", "Tp5 (s)", "TpD (s)", "Degrees of freedom"})
        EXPECT_NE(r.out.find(label), std::string::npos) << label << "\n" << r.out;
}

TEST(WaveCommands, BadDetrendIsAUsageErrorOfOneLine) {
    TempDir dir;
    std::string in = writeInput(dir);
    const std::vector<std::vector<std::string>> runs = {{"spectrum", in, "--detrend", "quadratic"},
                                                        {"waves", in, "--detrend", "Linear"},
                                                        {"reflection", in, "--channels", "1,2",
                                                         "--positions", "0,0.4", "--depth", "0.5",
                                                         "--detrend", ""}};
    for (const auto& args : runs) {
        CommandResult r = runBatch(args);
        EXPECT_EQ(r.exitCode, 2) << args[0];
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("ondarix-batch: --detrend takes none, mean or linear", 0), 0u)
            << r.err;
    }
    // Each value is taken; reflection and waves keep their results on a clean record.
    EXPECT_EQ(runBatch({"waves", in, "--detrend", "linear"}).exitCode, 0);
    EXPECT_EQ(runBatch({"reflection", in, "--channels", "1,2", "--positions", "0,0.4", "--depth",
                        "0.5", "--detrend", "none"})
                  .exitCode,
              0);
}

TEST(ReflectionCommand, TwoGaugesGiveKr) {
    TempDir dir;
    std::string in = writeInput(dir), out = dir.file("r.INT");
    CommandResult r = runBatch({"reflection", in, "--channels", "1,2", "--positions", "0,0.4",
                                "--depth", "0.5", "--json", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(jsonField(r.out, "Kr"), 0.3, 0.01);
    // Hm0 of a regular wave of amplitude a is 4 a / sqrt(2).
    EXPECT_NEAR(jsonField(r.out, "Hm0_incident"), 0.2 / std::sqrt(2.0), 0.005);
    CMeasure s;
    std::string why;
    ASSERT_TRUE(readMeasure(s, out, FileType::Int, &why)) << why;
    ASSERT_EQ(s.channelCount, 3);
    // The third column flags the bands the gauges resolved; no row is NaN.
    EXPECT_STREQ(s.channels[2].name, "separable");
    int resolved = 0;
    for (int32_t j = 0; j < s.sampleCount; ++j) {
        const float flag = s.value(2, j);
        EXPECT_TRUE(flag == 0.0f || flag == 1.0f) << j;
        resolved += flag == 1.0f;
        if (flag == 0.0f) {
            EXPECT_EQ(s.value(0, j), 0.0f) << j;
        }
    }
    EXPECT_GT(resolved, 0);
    EXPECT_LT(resolved, s.sampleCount);
}

TEST(ReflectionCommand, BadInputGetsOneLine) {
    TempDir dir;
    std::string in = writeInput(dir);
    auto run = [&](const std::string& channels, const std::string& positions,
                   const std::string& depth) {
        return runBatch(
            {"reflection", in, "--channels", channels, "--positions", positions, "--depth", depth});
    };
    expectOneLineFailure(run("1", "0", "0.5"), "at least two gauges");
    expectOneLineFailure(run("1,2", "0.4,0.4", "0.5"), "same position");
    expectOneLineFailure(run("1,2", "0,0.4", "0"), "depth");
    expectOneLineFailure(run("1,2", "0,0.0001", "0.5"), "cannot resolve");
    expectOneLineFailure(run("1,7", "0,0.4", "0.5"), "channel 7 does not exist");
    expectOneLineFailure(run("1,2", "0,0.4,0.8", "0.5"), "differ in count");
    EXPECT_EQ(run("1,2", "0,a", "0.5").exitCode, 2);
}

TEST(ReflectionCommand, BundledSampleShowsNoReflection) {
    // The sample's gauges at 4, 8 and 12 m see a wave of T = 1.6 s travelling
    // at 2.2 m/s and nothing coming back; linear theory gives that celerity in
    // 0.77 m of water. Rows 1000..4040 hold 38 whole periods.
    CommandResult r = runBatch({"reflection", SAMPLE_FILE, "--channels", "1,2,3", "--positions",
                                "4,8,12", "--depth", "0.77", "--from", "1000", "--to", "4040",
                                "--fmin", "0.3", "--fmax", "1", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_LT(jsonField(r.out, "Kr"), 0.02);
    // H = 0.08 m: Hm0 = 4 * 0.04 / sqrt(2) = 0.113.
    EXPECT_NEAR(jsonField(r.out, "Hm0_incident"), 0.113, 0.003);
}
