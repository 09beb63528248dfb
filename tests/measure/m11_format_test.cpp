#include "measure/m11_format.h"

#include "file_test_support.h"
#include "measure/int_format.h"
#include "measure/text_encoding.h"

#include <cmath>
#include <random>

namespace {

constexpr size_t REC = 122;
constexpr size_t DATA = 7 * REC; // first data record

// An ".M11" file built byte by byte: the seven header records, then the values
// fifteen to a record.
Bytes m11File(double count, double step, const std::vector<double>& values) {
    Bytes f(7 * REC, 0);
    const uint8_t types[7] = {2, 5, 5, 0, 1, 3, 4};
    for (size_t r = 0; r < 7; ++r) {
        f[r * REC] = types[r];
        f[r * REC + 121] = 127;
    }
    f[1] = 1;
    f[69] = 2;
    pokeDouble(f, 81, count);
    pokeDouble(f, 89, 0.0444375);
    pokeDouble(f, 105, step);
    f[REC + 69] = f[2 * REC + 69] = f[3 * REC + 69] = 2;
    std::memcpy(&f[2 * REC + 1], "Sec", 3);
    poke(f, 3 * REC + 1, 30000, 2);
    poke(f, 4 * REC + 1, 30000, 2);
    poke(f, 4 * REC + 3, 1, 2);
    f[4 * REC + 78] = f[5 * REC + 78] = 2;
    pokeDouble(f, 6 * REC + 1, 1.0);
    for (size_t i = 0; i < values.size(); ++i) {
        if (i % 15 == 0) {
            f.resize(f.size() + REC, 0);
            f[f.size() - REC] = 7;
            f.back() = 127;
        }
        pokeDouble(f, f.size() - REC + 1 + 8 * (i % 15), values[i]);
    }
    return f;
}

std::vector<double> ramp(int n) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i)
        v.push_back(0.5 * i - 3.0);
    return v;
}

void expectEmpty(const CMeasure& m) {
    EXPECT_EQ(m.channelCount, 0);
    EXPECT_EQ(m.sampleCount, 0);
    EXPECT_FALSE(m.hasSamples());
}

void fillChannel0(CMeasure& m, const std::vector<float>& values, const char* unit) {
    m.channelCount = 3;
    m.sampleCount = int32_t(values.size());
    m.sampleRate = 50.0;
    ASSERT_TRUE(m.allocateSamples());
    for (size_t j = 0; j < values.size(); ++j)
        for (int c = 0; c < 3; ++c)
            m.setSample(c, int(j), Sample{c == 0 ? values[j] : 99.0f, 5.0f});
    setChannelInfo(m.channels[0], 1, 0, unit, "Wave gauge 3");
}

} // namespace

TEST(M11Format, ReadsRoundedCountNamesAndVelocity) {
    ScratchFile file(".M11");
    file.write(m11File(29.6, 0.02, ramp(30))); // 29.6 + 0.5 rounded down is 30
    CMeasure m;
    ASSERT_EQ(readM11(m, file.path()), 0);
    expectConsistent(m);
    EXPECT_EQ(m.channelCount, 2);
    EXPECT_EQ(m.sampleCount, 30);
    EXPECT_DOUBLE_EQ(m.sampleRate, 1 / 0.02);
    EXPECT_EQ(m.sampleFormat, SAMPLE_FORMAT_REAL);
    EXPECT_STREQ(m.name, "Przemieszczenie klapy z pliku M11");
    EXPECT_STREQ(m.channels[0].name, "Przemieszczenie klapy");
    EXPECT_STREQ(m.channels[0].unit, "m");
    EXPECT_STREQ(m.channels[1].unit, "m/s");
    EXPECT_STREQ(m.path, file.path());
    for (int j = 0; j < 30; ++j) {
        EXPECT_EQ(m.value(0, j), float(0.5 * j - 3.0));
        EXPECT_EQ(m.sample(0, j).im, 0.0f);
        EXPECT_NEAR(m.value(1, j), 0.5 / 0.02, 1e-3); // slope of the ramp per second
    }
}

TEST(M11Format, EachCheckFailsWithItsCode) {
    struct Case {
        size_t offset;
        uint8_t value;
        int code;
    } cases[] = {
        {0, 3, 1},
        {121, 0, 2},
        {1, 0, 3},
        {69, 1, 4},
        {REC, 4, 5},
        {REC + 69, 0, 6},
        {2 * REC, 2, 7},
        {2 * REC + 69, 0, 8},
        {3 * REC, 1, 9},
        {3 * REC + 1, 0x31, 10},
        {3 * REC + 69, 0, 11},
        {4 * REC, 0, 12},
        {4 * REC + 2, 0, 13},
        {4 * REC + 3, 2, 14},
        {4 * REC + 78, 0, 15},
        {5 * REC, 0, 16},
        {5 * REC + 78, 0, 17},
        {6 * REC, 0, 18},
        {6 * REC + 8, 0x40, 19},
        {DATA, 6, 20},
        // Bytes nobody checks: record 2's end mark, the constant 0.0444375, the name.
        {REC + 121, 0, 0},
        {89, 0xFF, 0},
        {3 * REC + 10, 'x', 0},
    };
    ScratchFile file(".M11");
    for (const Case& c : cases) {
        Bytes bytes = m11File(20, 0.1, ramp(20));
        bytes[c.offset] = c.value;
        file.write(bytes);
        CMeasure m;
        EXPECT_EQ(readM11(m, file.path()), c.code) << "offset " << c.offset;
        expectConsistent(m);
        EXPECT_STREQ(m.path, file.path());
        if (c.code > 0 && c.code < 20) expectEmpty(m);
        EXPECT_NE(std::string(m11CheckText(c.code)), m11CheckText(-1));
    }
    EXPECT_STREQ(m11CheckText(1), "record 1 is missing or not of type 2");
}

TEST(M11Format, BadDataRecordKeepsRowsReadFullyDescribed) {
    Bytes bytes = m11File(40, 0.1, ramp(40));
    bytes[DATA + REC] = 5; // the second data record
    ScratchFile file(".M11");
    file.write(bytes);
    CMeasure m;
    EXPECT_EQ(readM11(m, file.path()), M11_BAD_DATA_RECORD);
    expectConsistent(m);
    ASSERT_EQ(m.sampleCount, 15);
    EXPECT_EQ(m.value(0, 14), float(0.5 * 14 - 3.0));
    EXPECT_STREQ(m.channels[0].name, "Przemieszczenie klapy");
    EXPECT_STREQ(m.name, "Przemieszczenie klapy z pliku M11");
    EXPECT_NEAR(m.value(1, 14), 0.5 / 0.1, 1e-3); // the velocity of the rows read
}

TEST(M11Format, UnusableOrOversizedSampleCounts) {
    ScratchFile file(".M11");
    for (double count : {-1.0, -0.3, double(NAN), double(INFINITY), 1e12, 134217728.0}) {
        file.write(m11File(count, 0.1, ramp(20)));
        CMeasure m;
        EXPECT_EQ(readM11(m, file.path()), M11_BAD_SAMPLE_COUNT) << count;
        expectEmpty(m);
    }
    // A count the block could hold but the file cannot: only two records' rows.
    file.write(m11File(1e8, 0.1, ramp(30)));
    CMeasure m;
    EXPECT_EQ(readM11(m, file.path()), M11_BAD_DATA_RECORD);
    expectConsistent(m);
    EXPECT_EQ(m.sampleCount, 30);
    // No samples at all is a valid file; a missing file has a code of its own.
    file.write(m11File(0, 0.1, {}));
    CMeasure none;
    EXPECT_EQ(readM11(none, file.path()), 0);
    EXPECT_EQ(none.sampleCount, 0);
    EXPECT_EQ(none.channelCount, 2);
    EXPECT_EQ(readM11(none, "/nonexistent/ondarix/x.M11"), M11_CANNOT_OPEN);
}

TEST(M11Format, WritesRecordLayoutAndStatistics) {
    ScratchFile file(".M11");
    CMeasure m;
    copyField(m.name, sizeof m.name, "Fala regularna");
    fillChannel0(m, {2, 1, 4, 1}, "m");
    ASSERT_TRUE(writeM11(m, file.path()));
    EXPECT_STREQ(m.path, file.path());
    Bytes f = file.read();
    ASSERT_EQ(f.size(), 8 * REC);
    EXPECT_EQ(peekDouble(f, 81), 4.0);
    EXPECT_DOUBLE_EQ(peekDouble(f, 105), 0.02);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&f[REC + 1]), 15),
              std::string("Fala regularna\0", 15));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&f[4 * REC + 5]), 12), "Wave gauge 3");
    // By hand for 2, 1, 4, 1: minimum 1 first at 1, maximum 4 at 2, mean 2,
    // mean of squares 22/4, lag-one (2+4+4)/3 over spread (0+1+4+1)/4.
    const double expected[] = {1, 1, 4, 2};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(peekDouble(f, 4 * REC + 46 + 8 * i), expected[i]);
    EXPECT_EQ(peekDouble(f, 4 * REC + 88), 2.0);
    EXPECT_EQ(peekDouble(f, 4 * REC + 96), 5.5);
    EXPECT_DOUBLE_EQ(peekDouble(f, 4 * REC + 104), (10.0 / 3) / 1.5);
    // One value or a constant signal: finite statistics, all zero.
    for (auto values : {std::vector<float>{3}, std::vector<float>{7, 7, 7}}) {
        fillChannel0(m, values, "m");
        ASSERT_TRUE(writeM11(m, file.path()));
        EXPECT_EQ(peekDouble(file.read(), 4 * REC + 104), 0.0);
    }
    EXPECT_FALSE(writeM11(m, "/nonexistent/ondarix/x.M11"));
}

TEST(M11Format, DataRecordsAndCentimetres) {
    ScratchFile file(".M11");
    CMeasure m;
    fillChannel0(m, std::vector<float>(30, 12.5f), "m");
    ASSERT_TRUE(writeM11(m, file.path()));
    EXPECT_EQ(file.read().size(), 1098u); // 7 + 2 records
    fillChannel0(m, std::vector<float>(31, 12.5f), "cm");
    ASSERT_TRUE(writeM11(m, file.path()));
    Bytes f = file.read();
    ASSERT_EQ(f.size(), 10 * REC); // 7 + 3 records, the last with one value
    EXPECT_EQ(peekDouble(f, DATA + 1), 0.125);
    EXPECT_EQ(peekDouble(f, DATA + 2 * REC + 1), 0.125);
    for (int i = 1; i < 15; ++i)
        EXPECT_EQ(peekDouble(f, DATA + 2 * REC + 1 + 8 * i), 0.0);
    EXPECT_EQ(f[DATA + 2 * REC + 121], 127);
}

TEST(M11Format, RoundTripGivesMetresAndTheFlapName) {
    ScratchFile file(".M11");
    CMeasure source;
    std::vector<float> values;
    for (int j = 0; j < 47; ++j)
        values.push_back(float(std::sin(0.3 * j) * 20));
    fillChannel0(source, values, "cm");
    ASSERT_TRUE(writeM11(source, file.path()));
    CMeasure back;
    ASSERT_EQ(readM11(back, file.path()), 0);
    ASSERT_EQ(back.sampleCount, 47);
    EXPECT_DOUBLE_EQ(back.sampleRate, 50.0);
    EXPECT_STREQ(back.channels[0].name, "Przemieszczenie klapy");
    for (int j = 0; j < 47; ++j)
        EXPECT_EQ(back.value(0, j), float(double(values[j]) / 100));
}

TEST(M11Format, TruncatedAndCorruptedFilesStayConsistent) {
    const Bytes full = m11File(40, 0.1, ramp(40));
    ScratchFile file(".M11");
    const int typeCodes[7] = {1, 5, 7, 9, 12, 16, 18};
    for (size_t length = 0; length <= full.size(); ++length) {
        file.write(full, length);
        CMeasure m;
        int code = readM11(m, file.path());
        expectConsistent(m);
        if (length < DATA) {
            EXPECT_EQ(code, typeCodes[length / REC]) << length;
            expectEmpty(m);
            continue;
        }
        int rows = std::min(40, int((length - DATA) / REC) * 15);
        EXPECT_EQ(code, length == full.size() ? 0 : M11_BAD_DATA_RECORD) << length;
        ASSERT_EQ(m.sampleCount, rows) << length;
        if (rows > 0) {
            EXPECT_EQ(m.value(0, rows - 1), float(0.5 * (rows - 1) - 3.0));
        }
    }
    std::mt19937 random(11);
    for (int round = 0; round < 600; ++round) {
        Bytes bytes = full;
        for (int k = 0; k < 4; ++k) {
            // Half the rounds aim at the sample count and time step.
            size_t at = round % 2 ? 81 + random() % 32 : random() % bytes.size();
            bytes[at] = uint8_t(random());
        }
        file.write(bytes, round % 3 ? bytes.size() : random() % bytes.size());
        CMeasure m;
        int code = readM11(m, file.path());
        expectConsistent(m);
        EXPECT_TRUE(code == 0 || std::string(m11CheckText(code)) != m11CheckText(-1));
    }
}

// Names live in memory in the file encoding, so an .INT saved from an .M11
// carries the velocity channel's name as the acquisition program's 30
// Windows-1250 bytes, not as 33 bytes of UTF-8.
TEST(M11Format, NamesAreKeptInWindows1250AndSavedSo) {
    ScratchFile file(".M11"), saved(".INT");
    file.write(m11File(20, 0.1, ramp(20)));
    CMeasure m;
    ASSERT_EQ(readM11(m, file.path()), 0);
    EXPECT_EQ(displayText(m.channels[1].name), "Prędkość przemieszczenia klapy");
    ASSERT_TRUE(writeInt(m, saved.path()));
    Bytes f = saved.read();
    // Header 79 bytes, then 97 per channel; the name length at 16, the text at 17.
    const size_t record = 79 + 97;
    ASSERT_GT(f.size(), record + 57);
    EXPECT_EQ(f[record + 16], 30);
    // ę EA, ś 9C, ć E6 in Windows-1250 ("\x64" is the d).
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&f[record + 17]), 30),
              "Pr\xEA\x64ko\x9C\xE6 przemieszczenia klapy");
}

// The reader keeps two channels in one block of at most INT32_MAX bytes, so
// it refuses more than 134217727 samples; the writer must not make such a
// file, nor one of no samples at all.
TEST(M11Format, WritesNothingItsReaderWouldRefuse) {
    ScratchFile file(".M11");
    CMeasure m;
    fillChannel0(m, {}, "m");
    EXPECT_STREQ(m11FormatRefusal(m), "the measurement has no samples");
    EXPECT_FALSE(writeM11(m, file.path()));
    EXPECT_TRUE(file.read().empty());
    fillChannel0(m, {1, 2, 3}, "m");
    // The count alone decides; no block of a gigabyte is needed to show it.
    m.sampleCount = M11_MAX_SAMPLES + 1;
    EXPECT_NE(m11FormatRefusal(m), nullptr);
    EXPECT_FALSE(writeM11(m, file.path()));
    EXPECT_TRUE(file.read().empty());
}

// A time step of 0, below 0 or not a number gave a rate of inf, -50 or NaN
// that the .INT reader refuses, and surfaced only when that was written.
TEST(M11Format, UnusableTimeStepsAreRefusedAndNeverWritten) {
    ScratchFile file(".M11");
    // 1e-320 is positive but its reciprocal overflows to inf.
    for (double step : {0.0, -0.02, double(NAN), double(INFINITY), -double(INFINITY), 1e-320}) {
        file.write(m11File(20, step, ramp(20)));
        CMeasure m;
        EXPECT_EQ(readM11(m, file.path()), M11_BAD_TIME_STEP) << step;
        expectEmpty(m);
    }
    EXPECT_STREQ(m11CheckText(M11_BAD_TIME_STEP),
                 "the time step in record 1 is not a positive, finite number");
    CMeasure m;
    for (double rate : {-50.0, 0.0, double(NAN), double(INFINITY)}) {
        fillChannel0(m, {1, 2, 3}, "m");
        m.sampleRate = rate;
        EXPECT_FALSE(writeM11(m, file.path())) << rate;
    }
}
