#include "measure/mat_format.h"

#include <gtest/gtest.h>

#include <functional>
#include <matio.h>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "measure/text_encoding.h"
#include "support/temp_dir.h"

namespace {

// A file of the given version holding what `fill` writes, as another
// program's libmatio would write it.
void writeFile(const std::string& path, mat_ft version, const std::function<void(mat_t*)>& fill) {
    mat_t* mat = Mat_CreateVer(path.c_str(), nullptr, version);
    ASSERT_NE(mat, nullptr);
    fill(mat);
    Mat_Close(mat);
}

void put(mat_t* mat, matvar_t* v, matio_compression compression = MAT_COMPRESSION_NONE) {
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(Mat_VarWrite(mat, v, compression), 0);
    Mat_VarFree(v);
}

template <typename T>
matvar_t* numbers(const char* name, matio_classes cls, matio_types type, size_t rows,
                  size_t columns, const std::vector<T>& values) {
    size_t dims[2] = {rows, columns};
    return Mat_VarCreate(name, cls, type, 2, dims, const_cast<T*>(values.data()), 0);
}

matvar_t* scalar(const char* name, double value) {
    return numbers<double>(name, MAT_C_DOUBLE, MAT_T_DOUBLE, 1, 1, {value});
}

matvar_t* text(const char* name, const std::string& bytes) {
    size_t dims[2] = {1, bytes.size()};
    return Mat_VarCreate(name, MAT_C_CHAR, MAT_T_UINT8, 2, dims, const_cast<char*>(bytes.data()),
                         0);
}

matvar_t* texts(const char* name, const std::vector<std::string>& items) {
    size_t dims[2] = {1, items.size()};
    matvar_t* cell = Mat_VarCreate(name, MAT_C_CELL, MAT_T_CELL, 2, dims, nullptr, 0);
    for (size_t i = 0; i < items.size(); ++i)
        Mat_VarSetCell(cell, int(i), text(nullptr, items[i]));
    return cell;
}

// Samples in column order (channel by channel), as MATLAB keeps a matrix.
std::vector<double> ramp(size_t rows, size_t columns) {
    std::vector<double> values(rows * columns);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = double(i % rows) * 0.5 - double(i / rows);
    return values;
}

struct MatRead {
    bool ok;
    std::string why;
    ReadReport report;
};

MatRead readFrom(const std::string& path, CMeasure& m, const ReadOptions& options = {}) {
    MatRead r{};
    r.ok = readMat(m, path.c_str(), &r.why, options, &r.report);
    return r;
}

// A measurement with a Polish name, a date, names and units.
void fillSample(CMeasure& m) {
    m.channelCount = 2;
    m.sampleCount = 300;
    m.sampleRate = 32.768;
    ASSERT_TRUE(m.resizeSamples(int64_t(m.channelCount) * m.sampleCount * 8));
    describePlainChannels(m);
    for (int r = 0; r < m.sampleCount; ++r)
        for (int c = 0; c < 2; ++c)
            m.at(c, r) = Sample{float(r) * 0.125f - float(c) * 3.75f, 0.0f};
    std::string bytes;
    toFileEncoding("Próba fali żółw", bytes);
    copyField(m.name, sizeof m.name, bytes.c_str());
    copyField(m.channels[0].name, sizeof m.channels[0].name, "sonda 1");
    copyField(m.channels[0].unit, sizeof m.channels[0].unit, "cm");
    toFileEncoding("ciśnienie", bytes);
    copyField(m.channels[1].name, sizeof m.channels[1].name, bytes.c_str());
    copyField(m.channels[1].unit, sizeof m.channels[1].unit, "kPa");
    m.date = packDosDate(2026, 3, 14, 9, 26, 52);
}

} // namespace

TEST(MatFormat, AMeasurementReadsBackWithItsNameDateRateNamesAndUnits) {
    TempDir dir;
    CMeasure m;
    fillSample(m);
    const std::string path = dir.file("run.mat");
    std::string why;
    ASSERT_TRUE(writeMat(m, path.c_str(), &why)) << why;
    CMeasure back;
    MatRead r = readFrom(path, back);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_STREQ(back.name, m.name);
    EXPECT_EQ(back.date, m.date);
    EXPECT_EQ(back.sampleRate, m.sampleRate);
    ASSERT_EQ(back.channelCount, 2);
    ASSERT_EQ(back.sampleCount, 300);
    for (int c = 0; c < 2; ++c) {
        EXPECT_STREQ(back.channels[c].name, m.channels[c].name);
        EXPECT_STREQ(back.channels[c].unit, m.channels[c].unit);
        for (int row = 0; row < 300; ++row)
            ASSERT_EQ(back.at(c, row).re, m.at(c, row).re) << c << " " << row;
    }
    // The header read gives the same shape without holding the samples.
    CMeasure header;
    ASSERT_TRUE(readMatHeader(header, path.c_str(), &why)) << why;
    EXPECT_EQ(header.sampleCount, 300);
    EXPECT_EQ(header.samples, nullptr);
}

TEST(MatFormat, A73FileGivesItsSinglesAlongTheLongerDimensionAndRateFromDt) {
    TempDir dir;
    const std::string path = dir.file("v73.mat");
    // 3 channels x 500 samples: time runs along the rows of MATLAB's matrix.
    std::vector<float> values(3 * 500);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = float(i) * 0.25f;
    writeFile(path, MAT_FT_MAT73, [&](mat_t* mat) {
        put(mat, numbers<float>("eta", MAT_C_SINGLE, MAT_T_SINGLE, 3, 500, values));
        put(mat, scalar("dt", 0.04));
        put(mat, texts("units", {"m", "m", "m/s"}));
    });
    CMeasure m;
    MatRead r = readFrom(path, m);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(m.channelCount, 3);
    EXPECT_EQ(m.sampleCount, 500);
    EXPECT_DOUBLE_EQ(m.sampleRate, 25.0);
    EXPECT_STREQ(m.channels[2].unit, "m/s");
    EXPECT_STREQ(m.channels[2].name, "Channel 3");
    EXPECT_STREQ(m.name, "Pomiar");
    // Element (channel c, sample r) sits at c + 3 r in column order.
    EXPECT_EQ(m.at(1, 7).re, values[1 + 3 * 7]);
    EXPECT_EQ(m.at(2, 499).re, values[2 + 3 * 499]);
}

TEST(MatFormat, IntegerVectorsAndCompressedFilesRead) {
    TempDir dir;
    const std::string path = dir.file("counts.mat");
    writeFile(path, MAT_FT_MAT5, [](mat_t* mat) {
        put(mat, numbers<int16_t>("counts", MAT_C_INT16, MAT_T_INT16, 1, 4, {-32768, 0, 7, 32767}),
            MAT_COMPRESSION_ZLIB);
        put(mat, scalar("Fs", 1000), MAT_COMPRESSION_ZLIB);
        put(mat, text("names", "raw gauge"), MAT_COMPRESSION_ZLIB);
    });
    CMeasure m;
    MatRead r = readFrom(path, m);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(m.channelCount, 1);
    EXPECT_EQ(m.sampleCount, 4);
    EXPECT_EQ(m.sampleRate, 1000);
    EXPECT_STREQ(m.channels[0].name, "raw gauge");
    EXPECT_EQ(m.at(0, 0).re, -32768.0f);
    EXPECT_EQ(m.at(0, 3).re, 32767.0f);
}

TEST(MatFormat, SeveralMatricesNeedTheVariableNamedAndNoRateNeedsOne) {
    TempDir dir;
    const std::string path = dir.file("two.mat");
    writeFile(path, MAT_FT_MAT5, [](mat_t* mat) {
        put(mat, numbers<double>("left", MAT_C_DOUBLE, MAT_T_DOUBLE, 10, 2, ramp(10, 2)));
        put(mat, numbers<double>("right", MAT_C_DOUBLE, MAT_T_DOUBLE, 6, 1, ramp(6, 1)));
        put(mat, text("comment", "two gauges"));
    });
    CMeasure m;
    MatRead r = readFrom(path, m);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.report.variableNeeded);
    EXPECT_NE(r.why.find("(left, right)"), std::string::npos) << r.why;
    expectConsistent(m);

    ReadOptions options;
    options.variable = "right";
    r = readFrom(path, m, options);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.report.rateNeeded) << r.why;
    options.rate = 8;
    r = readFrom(path, m, options);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(m.sampleCount, 6);
    EXPECT_EQ(m.sampleRate, 8);
    EXPECT_EQ(m.at(0, 5).re, 2.5f);

    for (const char* bad : {"middle", "comment"}) {
        CMeasure n;
        options.variable = bad;
        r = readFrom(path, n, options);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_NE(r.why.find(bad), std::string::npos) << r.why;
        expectConsistent(n);
    }
}

// Each file is refused with its own reason, and leaves nothing read behind.
TEST(MatFormat, FilesThatHoldNoMeasurementAreRefusedSayingWhy) {
    TempDir dir;
    struct Case {
        const char* file;
        std::function<void(mat_t*)> fill;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"text.mat", [](mat_t* mat) { put(mat, text("note", "nothing")); }, "no numeric matrix"},
        {"names.mat",
         [](mat_t* mat) {
             put(mat, numbers<double>("data", MAT_C_DOUBLE, MAT_T_DOUBLE, 20, 3, ramp(20, 3)));
             put(mat, scalar("fs", 10));
             put(mat, texts("names", {"a", "b"}));
         },
         "names holds 2 texts for 3 channels"},
        {"rate.mat",
         [](mat_t* mat) {
             put(mat, numbers<double>("data", MAT_C_DOUBLE, MAT_T_DOUBLE, 20, 1, ramp(20, 1)));
             put(mat, scalar("fs", -5));
         },
         "fs is not a positive number"},
        {"wide.mat",
         [](mat_t* mat) {
             put(mat, numbers<double>("image", MAT_C_DOUBLE, MAT_T_DOUBLE, 100, 80, ramp(100, 80)));
         },
         "80 channels"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file(c.file);
        writeFile(path, MAT_FT_MAT5, c.fill);
        CMeasure m;
        MatRead r = readFrom(path, m, ReadOptions{false, 50});
        EXPECT_FALSE(r.ok) << c.file;
        EXPECT_NE(r.why.find(c.reason), std::string::npos) << c.file << ": " << r.why;
        EXPECT_EQ(r.why.find('\n'), std::string::npos) << r.why;
        EXPECT_EQ(m.sampleCount, 0);
        expectConsistent(m);
    }
    const std::string empty = dir.file("empty.mat");
    writeFile(empty, MAT_FT_MAT5, [](mat_t* mat) {
        put(mat, numbers<double>("data", MAT_C_DOUBLE, MAT_T_DOUBLE, 0, 0, {}));
    });
    CMeasure m;
    ReadOptions named;
    named.variable = "data";
    EXPECT_EQ(readFrom(empty, m, named).why, "variable 'data' is empty");
    writeString(empty, "MATLAB 5.0 MAT-file, but only a line of text");
    EXPECT_EQ(readFrom(empty, m).why, "the file is too short for a MATLAB file");
}

// Cut anywhere, or with a byte changed, a file is read or refused: never a
// crash, never a read outside the file (the sanitizers watch).
TEST(MatFormat, CutOrDamagedFilesAreRefusedOrReadWhole) {
    TempDir dir;
    CMeasure m;
    fillSample(m);
    m.sampleCount = 40;
    const std::string written = dir.file("whole.mat"), zipped = dir.file("zipped.mat"),
                      v73 = dir.file("v73.mat");
    ASSERT_TRUE(writeMat(m, written.c_str()));
    auto fill = [](mat_t* mat, matio_compression compression) {
        put(mat, numbers<double>("data", MAT_C_DOUBLE, MAT_T_DOUBLE, 64, 2, ramp(64, 2)),
            compression);
        put(mat, scalar("fs", 50), compression);
        put(mat, texts("names", {"a", "b"}), compression);
    };
    writeFile(zipped, MAT_FT_MAT5, [&](mat_t* mat) { fill(mat, MAT_COMPRESSION_ZLIB); });
    writeFile(v73, MAT_FT_MAT73, [&](mat_t* mat) { fill(mat, MAT_COMPRESSION_NONE); });
    const std::string cut = dir.file("cut.mat");
    int refused = 0;
    for (const std::string& source : {written, zipped, v73}) {
        const Bytes whole = readBytes(source);
        const size_t step = source == v73 ? 97 : 5;
        for (size_t length = 0; length < whole.size(); length += step) {
            writeBytes(cut, Bytes(whole.begin(), whole.begin() + long(length)));
            CMeasure n;
            MatRead r = readFrom(cut, n);
            refused += !r.ok;
            EXPECT_TRUE(r.ok || !r.why.empty()) << length;
            expectConsistent(n);
        }
        for (size_t at = 128; at < whole.size(); at += source == v73 ? 61 : 13) {
            Bytes damaged = whole;
            damaged[at] ^= 0x5A;
            writeBytes(cut, damaged);
            CMeasure n;
            MatRead r = readFrom(cut, n);
            EXPECT_TRUE(r.ok || !r.why.empty()) << at;
            expectConsistent(n);
        }
    }
    EXPECT_GT(refused, 0);
    CMeasure n;
    const Bytes whole = readBytes(written);
    writeBytes(cut, Bytes(whole.begin(), whole.begin() + 300));
    EXPECT_EQ(readFrom(cut, n).why.rfind("the file is cut short in its variable", 0), 0u);
}

TEST(MatFormat, ARefusedWriteLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("kept.mat");
    writeString(path, "old");
    CMeasure m;
    fillSample(m);
    m.sampleRate = 0;
    std::string why;
    EXPECT_FALSE(writeMat(m, path.c_str(), &why));
    EXPECT_EQ(why, "a MATLAB file needs a sample rate above 0");
    EXPECT_EQ(readString(path), "old");
    m.sampleRate = 10;
    EXPECT_FALSE(writeMat(m, dir.file("missing/new.mat").c_str(), &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(countEntries(dir.path()), 1);
}
