// The sea a report compares with: a drive saved with its target elevation
// gives that elevation's spectrum, a table is read as it stands, and a file
// that is neither says so.
#include "report/report_target.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "measure/measure_file.h"
#include "support/temp_dir.h"

namespace {

constexpr double PI = 3.14159265358979323846;

// Paddle displacement and the elevation it should make: three components of
// amplitudes 0.03, 0.02 and 0.01 m, so that Hm0 = 4 sqrt(sum a^2 / 2).
void writeDrive(const std::string& path, const char* elevationName) {
    CMeasure m;
    m.channelCount = 2;
    m.sampleCount = 8192;
    m.sampleRate = 20;
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    setChannelInfo(m.channels[0], 1, 0, "m", "Paddle displacement");
    setChannelInfo(m.channels[1], 1, 0, "m", elevationName);
    for (int c = 0; c < 2; ++c)
        resetParameters(m.signalParameters[c]);
    m.allocateSamples();
    const double amplitude[] = {0.03, 0.02, 0.01}, frequency[] = {0.5, 0.7, 0.9};
    for (int j = 0; j < m.sampleCount; ++j) {
        double eta = 0;
        for (int k = 0; k < 3; ++k)
            eta += amplitude[k] * std::sin(2 * PI * frequency[k] * j / m.sampleRate + k);
        m.setSample(0, j, Sample{float(0.5 * eta), 0});
        m.setSample(1, j, Sample{float(eta), 0});
    }
    std::string why;
    ASSERT_TRUE(writeMeasure(m, path, FileType::Int, &why)) << why;
}

} // namespace

TEST(ReportTarget, ADrivesTargetIsTheSpectrumOfItsTargetElevation) {
    TempDir dir;
    const std::string path = dir.file("drive.INT");
    writeDrive(path, TARGET_ELEVATION_CHANNEL);
    SpectrumTable table;
    std::string why;
    ASSERT_TRUE(readReportTarget(path, table, &why)) << why;
    ASSERT_GE(table.frequency.size(), 2u);
    const double df = table.frequency[1] - table.frequency[0];
    const double hm0 = 4 * std::sqrt((0.03 * 0.03 + 0.02 * 0.02 + 0.01 * 0.01) / 2);
    EXPECT_NEAR(bandHm0(table.density, df, 0, 10), hm0, 0.02 * hm0);
    EXPECT_NEAR(peakPeriod(table.density, df), 2.0, 0.1);
}

TEST(ReportTarget, ATableIsTakenAsItStandsAndSampledOnTheBins) {
    TempDir dir;
    const std::string path = dir.file("target.csv");
    writeString(path, "f,S\n0.2,0\n0.5,0.004\n0.8,0\n");
    SpectrumTable table;
    std::string why;
    ASSERT_TRUE(readReportTarget(path, table, &why)) << why;
    VarianceSpectrum measured;
    measured.df = 0.05;
    measured.density.assign(21, 0.0);
    const std::vector<double> at = targetAtBins(table, measured);
    EXPECT_NEAR(at[10], 0.004, 1e-12); // 0.5 Hz, the table's peak
    EXPECT_NEAR(at[7], 0.002, 1e-12);  // 0.35 Hz, halfway up
    EXPECT_EQ(at[2], 0.0);             // below the table
    EXPECT_NEAR(peakPeriod(at, measured.df), 2.0, 1e-12);
    // The triangle holds 0.5 * 0.6 * 0.004 m^2.
    EXPECT_NEAR(bandHm0(at, measured.df, 0, 1), 4 * std::sqrt(0.0012), 1e-9);
}

TEST(ReportTarget, ARecordWithoutTargetElevationIsRefusedByName) {
    TempDir dir;
    const std::string path = dir.file("gauges.INT");
    writeDrive(path, "Gauge 1");
    SpectrumTable table;
    std::string why;
    EXPECT_FALSE(readReportTarget(path, table, &why));
    EXPECT_NE(why.find("gauges.INT"), std::string::npos) << why;
    EXPECT_NE(why.find(TARGET_ELEVATION_CHANNEL), std::string::npos) << why;
    EXPECT_FALSE(readReportTarget(dir.file("none.INT"), table, &why));
    EXPECT_NE(why.find("none.INT"), std::string::npos) << why;
}
