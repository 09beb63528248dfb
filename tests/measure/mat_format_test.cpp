#include "measure/mat_format.h"

#include <gtest/gtest.h>

#include <functional>
#include <hdf5.h>
#include <matio.h>
#include <string>
#include <vector>
#include <zlib.h>

#include "file_test_support.h"
#include "measure/measure_file.h"
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
    ASSERT_TRUE(m.allocateSamples());
    describePlainChannels(m);
    for (int r = 0; r < m.sampleCount; ++r)
        for (int c = 0; c < 2; ++c)
            m.setSample(c, r, Sample{float(r) * 0.125f - float(c) * 3.75f, 0.0f});
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
            ASSERT_EQ(back.value(c, row), m.value(c, row)) << c << " " << row;
    }
    // The header read gives the same shape without holding the samples.
    CMeasure header;
    ASSERT_TRUE(readMatHeader(header, path.c_str(), &why)) << why;
    EXPECT_EQ(header.sampleCount, 300);
    EXPECT_FALSE(header.hasSamples());
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
    EXPECT_EQ(m.value(1, 7), values[1 + 3 * 7]);
    EXPECT_EQ(m.value(2, 499), values[2 + 3 * 499]);
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
    EXPECT_EQ(m.value(0, 0), -32768.0f);
    EXPECT_EQ(m.value(0, 3), 32767.0f);
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
    EXPECT_EQ(m.value(0, 5), 2.5f);

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

// A 7.3 file is HDF5 underneath, with its ways of pointing to other files:
// a variable that is an external link or kept in another file is refused.
TEST(MatFormat, A73VariableKeptInAnotherFileIsRefusedNamingIt) {
    TempDir dir;
    const std::string secret = dir.file("secret.bin"), linked = dir.file("linked.mat"),
                      stored = dir.file("stored.mat");
    writeString(secret, std::string(4096, 'S'));
    for (const std::string& path : {linked, stored})
        writeFile(path, MAT_FT_MAT73, [](mat_t* mat) { put(mat, scalar("fs", 10.0)); });
    hid_t file = H5Fopen(linked.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
    H5Lcreate_external(stored.c_str(), "/fs", file, "eta", H5P_DEFAULT, H5P_DEFAULT);
    H5Fclose(file);
    file = H5Fopen(stored.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
    const hsize_t dims[2] = {2, 512};
    hid_t space = H5Screate_simple(2, dims, nullptr);
    hid_t dcpl = H5Pcreate(H5P_DATASET_CREATE);
    H5Pset_external(dcpl, secret.c_str(), 0, 4096);
    H5Dclose(H5Dcreate2(file, "eta", H5T_NATIVE_FLOAT, space, H5P_DEFAULT, dcpl, H5P_DEFAULT));
    H5Pclose(dcpl);
    H5Sclose(space);
    H5Fclose(file);
    const std::string tail = "; a measurement is read only from the file named, never from another";
    CMeasure m;
    EXPECT_EQ(readFrom(linked, m).why,
              "variable /eta is an external link to " + stored + ":/fs" + tail);
    EXPECT_EQ(readFrom(stored, m).why,
              "variable /eta is kept in external storage in " + secret + tail);
    EXPECT_FALSE(m.hasSamples());
}

namespace {

// Version 5 files byte by byte, little-endian, for what no writer makes.
std::string word32(uint32_t v) {
    return std::string{char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24)};
}

std::string element(uint32_t type, const std::string& data, int64_t claimed = -1) {
    std::string e = word32(type) + word32(uint32_t(claimed < 0 ? int64_t(data.size()) : claimed));
    e += data;
    return e + std::string((8 - data.size() % 8) % 8, '\0');
}

// miMATRIX of class `cls` (6 double, 1 cell, 2 struct) with its flags,
// dimensions and name, followed by `rest`.
std::string matrix(uint32_t cls, const std::vector<uint32_t>& dims, const std::string& name,
                   const std::string& rest) {
    std::string d;
    for (uint32_t v : dims)
        d += word32(v);
    return element(14,
                   element(6, word32(cls) + word32(0)) + element(5, d) + element(1, name) + rest);
}

std::string doubles(size_t count) {
    std::string data;
    for (size_t i = 0; i < count; ++i) {
        const double v = double(i) + 0.5;
        data.append(reinterpret_cast<const char*>(&v), 8);
    }
    return element(9, data);
}

std::string mat5(const std::string& elements) {
    std::string header = "MATLAB 5.0 MAT-file, made by a test";
    header.resize(116, ' ');
    return header + std::string(8, '\0') + std::string{'\0', '\x01', 'I', 'M'} + elements;
}

std::string compressed(const std::string& element) {
    uLongf size = compressBound(uLong(element.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(element.data()), uLong(element.size()));
    out.resize(size);
    return word32(15) + word32(uint32_t(out.size())) + out;
}

} // namespace

// What libmatio would trust: a matrix claiming more numbers than it stores
// (read from the next variable or from memory never written), a name of
// gigabytes, cells nested past any stack, a compressed variable cut short.
TEST(MatFormat, A5FileIsRefusedWhereItsSizesDisagreeWithWhatItHolds) {
    TempDir dir;
    const std::string path = dir.file("hostile.mat");
    const std::string rate = matrix(6, {1, 1}, "fs", doubles(1));
    const std::string good = matrix(6, {1000, 2}, "eta", doubles(2000));
    const std::string shortOne = matrix(6, {1000, 2}, "eta", doubles(1000));
    std::string nested = matrix(6, {2, 1}, "", doubles(2));
    for (int i = 0; i < 100; ++i)
        nested = matrix(1, {1, 1}, i == 99 ? "deep" : "", nested);
    // Structs of one field "a", 2,000 deep: 80 s in libmatio before.
    std::string structs = matrix(6, {1, 1}, "", doubles(1));
    for (int i = 0; i < 2000; ++i)
        structs = matrix(2, {1, 1}, i == 1999 ? "deep" : "",
                         element(5, word32(4)) + element(1, std::string("a\0\0\0", 4)) + structs);
    std::string hugeName =
        element(14, element(6, word32(6) + word32(0)) + element(5, word32(1) + word32(1)) +
                        word32(1) + word32(0x7FFFFFF0) + "eta" + doubles(1));
    std::string cut = compressed(good);
    cut = word32(15) + word32(uint32_t(cut.size() - 8 - 40)) + cut.substr(8, cut.size() - 8 - 40);
    const std::pair<std::string, std::string> cases[] = {
        {rate + shortOne, "variable 'eta' claims 2000 elements and stores 1000"},
        {rate + shortOne + compressed(rate), "variable 'eta' claims 2000 elements and stores 1000"},
        {compressed(shortOne) + rate, "variable 'eta' claims 2000 elements and stores 1000"},
        {rate + nested, "variable 'deep' nests cells or structs more than 64 deep"},
        {rate + compressed(nested), "variable 'deep' nests cells or structs more than 64 deep"},
        {rate + structs, "variable 'deep' nests cells or structs more than 64 deep"},
        {rate + hugeName, "variable 2 claims 2147483632 bytes where its matrix holds 19"},
        {rate + cut, "the file is cut short in variable 'eta'"},
    };
    for (const auto& [bytes, expected] : cases) {
        writeString(path, mat5(bytes));
        CMeasure m;
        const MatRead r = readFrom(path, m);
        EXPECT_FALSE(r.ok) << expected;
        EXPECT_EQ(r.why, expected);
        EXPECT_FALSE(m.hasSamples());
    }
    // The same bytes whole read, compressed or not.
    for (const std::string& bytes : {rate + good, compressed(rate) + compressed(good)}) {
        writeString(path, mat5(bytes));
        CMeasure m;
        const MatRead r = readFrom(path, m);
        ASSERT_TRUE(r.ok) << r.why;
        EXPECT_EQ(m.sampleCount, 1000);
        EXPECT_EQ(m.value(1, 999), 1999.5f);
    }
}

// Names and units come back as the measurement held them: blanks at either
// end, empty ones, brackets and Windows-1250 letters.
TEST(MatFormat, NamesAndUnitsComeBackExactlyAsTheyWere) {
    TempDir dir;
    const std::string path = dir.file("names.mat");
    CMeasure m;
    fillSample(m);
    std::string polish;
    toFileEncoding("żuraw ", polish);
    copyField(m.channels[0].name, sizeof m.channels[0].name, " level [m] (raw) ");
    copyField(m.channels[0].unit, sizeof m.channels[0].unit, "");
    copyField(m.channels[1].name, sizeof m.channels[1].name, "");
    copyField(m.channels[1].unit, sizeof m.channels[1].unit, polish.c_str());
    std::string why;
    ASSERT_TRUE(writeMat(m, path.c_str(), &why)) << why;
    CMeasure back;
    MatRead r = readFrom(path, back);
    ASSERT_TRUE(r.ok) << r.why;
    for (int c = 0; c < 2; ++c) {
        EXPECT_STREQ(back.channels[c].name, m.channels[c].name) << c;
        EXPECT_STREQ(back.channels[c].unit, m.channels[c].unit) << c;
    }
    EXPECT_STREQ(back.name, m.name);
    EXPECT_EQ(back.value(1, 299), m.value(1, 299));
}

// A 7.3 cell is a data set of references; one that refers to itself made
// libmatio recurse until the stack ran out.
TEST(MatFormat, A73CellThatHoldsItselfIsRefused) {
    TempDir dir;
    const std::string path = dir.file("cycle.mat");
    writeFile(path, MAT_FT_MAT73, [](mat_t* mat) {
        put(mat, numbers<double>("eta", MAT_C_DOUBLE, MAT_T_DOUBLE, 4, 1, {1, 2, 3, 4}));
        put(mat, scalar("fs", 10.0));
        put(mat, texts("names", {"a"}));
    });
    hid_t file = H5Fopen(path.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
    hobj_ref_t self;
    ASSERT_GE(H5Rcreate(&self, file, "/names", H5R_OBJECT, -1), 0);
    hid_t cell = H5Dopen2(file, "/names", H5P_DEFAULT);
    ASSERT_GE(H5Dwrite(cell, H5T_STD_REF_OBJ, H5S_ALL, H5S_ALL, H5P_DEFAULT, &self), 0);
    H5Dclose(cell);
    H5Fclose(file);
    CMeasure m;
    EXPECT_EQ(readFrom(path, m).why,
              "the cell /names nests cells more than 64 deep or holds itself");
}

// Offered to choose from, through the reading child as the desktop reads:
// every numeric matrix with its MATLAB shape and class, no text or scalar,
// and the name chosen reads that matrix.
TEST(MatFormat, SeveralMatricesAreListedWithShapeAndClassForTheChoice) {
    const std::vector<int16_t> gauges(4 * 120, 7);
    const std::vector<float> level(36, 0.25f);
    for (mat_ft version : {MAT_FT_MAT5, MAT_FT_MAT73}) {
        TempDir dir;
        const std::string path = dir.file("several.mat");
        writeFile(path, version, [&](mat_t* mat) {
            put(mat, numbers<int16_t>("gauges", MAT_C_INT16, MAT_T_INT16, 4, 120, gauges));
            put(mat, text("comment", "two kinds"));
            put(mat, numbers<float>("level", MAT_C_SINGLE, MAT_T_SINGLE, 1, 36, level));
            put(mat, scalar("fs", 20));
        });
        CMeasure m;
        std::string why;
        ReadReport report;
        EXPECT_FALSE(readMeasure(m, path, FileType::Mat, &why, nullptr, {}, &report));
        EXPECT_TRUE(report.variableNeeded) << why;
        ASSERT_EQ(report.candidateCount, 2) << version;
        EXPECT_EQ(samplesCandidateText(report.candidates[0]), "gauges  4 \u00d7 120 int16");
        EXPECT_EQ(samplesCandidateText(report.candidates[1]), "level  1 \u00d7 36 single");
        EXPECT_EQ(largestSamplesCandidate(report), 0);

        ReadOptions options;
        options.variable = report.candidates[1].name;
        ASSERT_TRUE(readMeasure(m, path, FileType::Mat, &why, nullptr, options, &report)) << why;
        EXPECT_EQ(m.channelCount, 1);
        EXPECT_EQ(m.sampleCount, 36);
        EXPECT_EQ(report.candidateCount, 0);
    }
}

// A record of several blocks of rows reads the same whether its channels are
// the matrix's columns or its rows, stored plain (read a block at a time from
// the file) or compressed or as version 7.3 (read whole); every value as
// float(double(stored)), so that a 64-bit integer rounds as it always did.
TEST(MatFormat, ARecordOfManyBlocksReadsTheSameHoweverItIsStored) {
    TempDir dir;
    const size_t rows = 700001;
    std::vector<double> down(rows * 3);
    for (size_t i = 0; i < down.size(); ++i)
        down[i] = double(i % rows) * 0.5 - double(i / rows) * 1e5 + 1e-9;
    std::vector<int16_t> across(2 * rows);
    for (size_t i = 0; i < across.size(); ++i)
        across[i] = int16_t(int(i % 60000) - 30000);
    // 2^60 + 2^36 + 1 rounds to 2^60 through double, to 2^60 + 2^37 directly.
    const int64_t wide = (int64_t(1) << 60) + (int64_t(1) << 36) + 1;
    const std::vector<int64_t> large = {wide, -wide, 3};
    for (mat_ft version : {MAT_FT_MAT5, MAT_FT_MAT73})
        for (matio_compression compression : {MAT_COMPRESSION_NONE, MAT_COMPRESSION_ZLIB}) {
            const std::string where =
                std::to_string(int(version)) + "/" + std::to_string(int(compression));
            const std::string a = dir.file("down.mat"), b = dir.file("across.mat"),
                              c = dir.file("large.mat");
            writeFile(a, version, [&](mat_t* mat) {
                put(mat, numbers<double>("eta", MAT_C_DOUBLE, MAT_T_DOUBLE, rows, 3, down),
                    compression);
                put(mat, scalar("fs", 50));
            });
            writeFile(b, version, [&](mat_t* mat) {
                put(mat, numbers<int16_t>("p", MAT_C_INT16, MAT_T_INT16, 2, rows, across),
                    compression);
                put(mat, scalar("fs", 50));
            });
            writeFile(c, version, [&](mat_t* mat) {
                put(mat, numbers<int64_t>("n", MAT_C_INT64, MAT_T_INT64, 3, 1, large), compression);
                put(mat, scalar("fs", 50));
            });
            CMeasure m, n, l;
            MatRead r = readFrom(a, m), s = readFrom(b, n), t = readFrom(c, l);
            ASSERT_TRUE(r.ok && s.ok && t.ok) << where << r.why << s.why << t.why;
            ASSERT_EQ(m.channelCount, 3);
            ASSERT_EQ(n.channelCount, 2);
            ASSERT_EQ(int64_t(m.sampleCount), int64_t(rows));
            ASSERT_EQ(int64_t(n.sampleCount), int64_t(rows));
            int wrong = 0;
            for (size_t row = 0; row < rows; ++row) {
                for (int ch = 0; ch < 3; ++ch)
                    wrong += m.value(ch, int(row)) != float(down[row + size_t(ch) * rows]);
                for (int ch = 0; ch < 2; ++ch)
                    wrong += n.value(ch, int(row)) != float(across[size_t(ch) + row * 2]);
            }
            EXPECT_EQ(wrong, 0) << where;
            for (int row = 0; row < 3; ++row)
                EXPECT_EQ(l.value(0, row), float(double(large[size_t(row)]))) << where;
        }
}
