// A calibration applied to the values of a channel in memory, whatever file
// they came from, and the files written from it: the values are those
// calibrated, a format without a coefficient says so, and reading the file
// back gives the same values (the pair is not applied a second time).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "measure/channel_calibration.h"
#include "measure/csv_format.h"
#include "measure/measure_file.h"
#include "support/temp_dir.h"

namespace {

// Two channels of raw counts as a CSV reader gives them (coefficient 1,
// constant 0): channel 0 holds j, channel 1 holds 1000 + 10 j.
void rawMeasure(CMeasure& m, int32_t rows = 20) {
    m.channelCount = 2;
    m.sampleCount = rows;
    m.sampleRate = 50.0;
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    copyField(m.path, sizeof m.path, "/data/run.csv");
    describePlainChannels(m);
    ASSERT_TRUE(m.allocateSamples());
    for (int32_t j = 0; j < rows; ++j) {
        m.setSample(0, j, Sample{float(j), 0.0f});
        m.setSample(1, j, Sample{float(1000 + 10 * j), 0.0f});
    }
}

double raw1(int32_t j) {
    return 1000 + 10 * j;
}

} // namespace

// Only the channel changes; a second fit replaces the first instead of
// scaling its results again.
TEST(ChannelCalibration, ScalesAPlainChannelFromItsRawValues) {
    CMeasure m;
    rawMeasure(m);
    ASSERT_TRUE(applyChannelCalibration(m, 1, 0.05, -0.3, -1, nullptr));
    for (int32_t j = 0; j < m.sampleCount; ++j) {
        EXPECT_FLOAT_EQ(m.value(1, j), float(0.05 * raw1(j) - 0.3)) << j;
        EXPECT_FLOAT_EQ(m.value(0, j), float(j)) << j;
    }
    EXPECT_TRUE(channelIsScaled(m.channels[1]));
    EXPECT_FALSE(channelIsScaled(m.channels[0]));
    ASSERT_TRUE(applyChannelCalibration(m, 1, 0.002, 1.5, -1, nullptr));
    for (int32_t j = 0; j < m.sampleCount; ++j)
        EXPECT_NEAR(m.value(1, j), 0.002 * raw1(j) + 1.5, 1e-5) << j;
    EXPECT_EQ(m.channels[1].coefficient, 0.002);
    EXPECT_EQ(m.channels[1].constant, 1.5);
}

// Integer .INT channels hold coefficient * count (+ constant for layouts 3
// and 4): the new pair applies to the counts.
TEST(ChannelCalibration, IntCountsTakeTheNewPairByTheirLayout) {
    for (const int layout : {4, 2}) {
        CMeasure m;
        rawMeasure(m);
        setChannelInfo(m.channels[1], 2.0, -3.0, "m", "gauge");
        const double added = layout == 4 ? -3.0 : 0.0;
        for (int32_t j = 0; j < m.sampleCount; ++j)
            m.setSample(1, j, Sample{float(2.0 * raw1(j) + added), 0.0f});
        ASSERT_TRUE(applyChannelCalibration(m, 1, 0.0001, -0.3, layout, nullptr));
        for (int32_t j = 0; j < m.sampleCount; ++j)
            EXPECT_NEAR(m.value(1, j), 0.0001 * raw1(j) - 0.3, 1e-6) << layout << " " << j;
    }
}

TEST(ChannelCalibration, RefusalsLeaveTheChannelAsItWas) {
    CMeasure m;
    rawMeasure(m);
    std::string why;
    EXPECT_FALSE(applyChannelCalibration(m, 1, 0.0, 1.0, -1, &why));
    EXPECT_NE(why.find("would erase"), std::string::npos) << why;
    EXPECT_FALSE(applyChannelCalibration(m, 2, 0.05, 0.0, -1, &why));
    EXPECT_FALSE(applyChannelCalibration(m, 1, NAN, 0.0, -1, &why));
    m.channels[1].coefficient = 0;
    EXPECT_FALSE(applyChannelCalibration(m, 1, 0.05, 0.0, -1, &why));
    EXPECT_NE(why.find("cannot be recovered"), std::string::npos) << why;
    for (int32_t j = 0; j < m.sampleCount; ++j)
        EXPECT_EQ(m.value(1, j), float(raw1(j))) << j;
    EXPECT_EQ(m.channels[1].constant, 0.0);
}

// Saved as CSV, the calibrated values are written and a comment says how
// they came from the raw ones; reading the file back gives the same values
// and the pair, and a second save writes the same file.
TEST(ChannelCalibration, CsvKeepsTheCalibratedValuesAndSaysSo) {
    TempDir dir;
    CMeasure m;
    rawMeasure(m);
    ASSERT_TRUE(applyChannelCalibration(m, 1, 0.05, -0.3, -1, nullptr));
    const std::string path = dir.file("run.csv"), again = dir.file("again.csv");
    std::string why;
    ASSERT_TRUE(writeCsv(m, path.c_str(), &why)) << why;
    const std::string text = readString(path);
    EXPECT_NE(text.find("# calibrated: channel 1: value = 0.05 * raw - 0.3\r\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("channel 0:"), std::string::npos) << text;

    CMeasure back;
    ASSERT_TRUE(readCsv(back, path.c_str(), &why)) << why;
    ASSERT_EQ(back.sampleCount, m.sampleCount);
    for (int32_t j = 0; j < m.sampleCount; ++j) {
        EXPECT_EQ(back.value(1, j), m.value(1, j)) << j;
        EXPECT_EQ(back.value(0, j), m.value(0, j)) << j;
    }
    EXPECT_EQ(back.channels[1].coefficient, 0.05);
    EXPECT_EQ(back.channels[1].constant, -0.3);
    EXPECT_FALSE(channelIsScaled(back.channels[0]));
    ASSERT_TRUE(writeCsv(back, again.c_str(), &why)) << why;
    EXPECT_EQ(readString(again), text);
}

TEST(ChannelCalibration, CsvRefusesAGarbledCalibrationComment) {
    TempDir dir;
    const std::string path = dir.file("bad.csv");
    for (const char* line : {"# calibrated: channel 1: value = 0 * raw + 1",
                             "# calibrated: channel 1: value = 0.05 * raw + 1 m"}) {
        writeString(path, std::string("# rate: 50\n") + line + "\ntime,a,b\n0,1,2\n0.02,3,4\n");
        CMeasure m;
        std::string why;
        EXPECT_FALSE(readCsv(m, path.c_str(), &why)) << line;
        EXPECT_NE(why.find("line 2: the calibration comment"), std::string::npos) << why;
    }
}

// Formats without a field for the pair keep the calibrated values, and a
// file read back shows them as they were shown before the save.
TEST(ChannelCalibration, EveryWriterKeepsTheCalibratedValues) {
    TempDir dir;
    CMeasure m;
    rawMeasure(m);
    ASSERT_TRUE(applyChannelCalibration(m, 1, 0.05, -0.3, -1, nullptr));
    const struct {
        FileType type;
        const char* name;
    } files[] = {{FileType::Csv, "run.csv"},
                 {FileType::Mat, "run.mat"},
                 {FileType::Hdf5, "run.h5"},
                 {FileType::Int, "run.INT"}};
    for (const auto& file : files) {
        const std::string path = dir.file(file.name);
        std::string why;
        ASSERT_TRUE(writeMeasure(m, path, file.type, &why)) << file.name << ": " << why;
        CMeasure back;
        ASSERT_TRUE(readMeasure(back, path, file.type, &why)) << file.name << ": " << why;
        ASSERT_EQ(back.sampleCount, m.sampleCount) << file.name;
        for (int32_t j = 0; j < m.sampleCount; ++j)
            EXPECT_NEAR(back.value(1, j), 0.05 * raw1(j) - 0.3, 1e-5) << file.name << " " << j;
    }
    // MATLAB keeps the pair as text beside the samples.
    const std::string mat = readString(dir.file("run.mat"));
    EXPECT_NE(mat.find("calibration"), std::string::npos);
    EXPECT_NE(mat.find("value = 0.05 * raw - 0.3"), std::string::npos);
}
