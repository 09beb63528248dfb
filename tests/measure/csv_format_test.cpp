#include "measure/csv_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "file_test_support.h"
#include "measure/text_encoding.h"
#include "support/temp_dir.h"

namespace {

struct CsvRead {
    bool ok;
    std::string why;
    ReadReport report;
};

CsvRead readFrom(const TempDir& dir, const std::string& text, CMeasure& m,
                 const ReadOptions& options = {}) {
    const std::string path = dir.file("in.csv");
    writeString(path, text);
    CsvRead r{};
    r.ok = readCsv(m, path.c_str(), &r.why, options, &r.report);
    return r;
}

void expectValues(const CMeasure& m, int channel, std::initializer_list<float> values) {
    int row = 0;
    for (float v : values) {
        EXPECT_EQ(m.value(channel, row), v) << "channel " << channel << " row " << row;
        ++row;
    }
}

} // namespace

TEST(CsvFormat, ReadsPandasDefaultShapeSkippingItsIndex) {
    TempDir dir;
    CMeasure m;
    auto r =
        readFrom(dir, ",time,gauge1,gauge2\n0,0.0,1.5,-2\n1,0.02,1.25,3e-3\n2,0.04,0.5,7\n", m);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(m.channelCount, 2);
    EXPECT_EQ(m.sampleCount, 3);
    EXPECT_DOUBLE_EQ(m.sampleRate, 50.0);
    EXPECT_STREQ(m.channels[0].name, "gauge1");
    EXPECT_STREQ(m.channels[1].name, "gauge2");
    EXPECT_STREQ(m.channels[1].unit, "?");
    expectValues(m, 0, {1.5f, 1.25f, 0.5f});
    expectValues(m, 1, {-2.0f, 3e-3f, 7.0f});
}

TEST(CsvFormat, ReadsEuropeanExcelWithMarkCrLfUnitsAndTrailingBlanks) {
    TempDir dir;
    CMeasure m;
    auto r = readFrom(dir,
                      "\xEF\xBB\xBFTime (s);Gauge 1 [m];Gauge 2 (cm)\r\n0;1,5;2\r\n0,1;-2,5;3\r\n"
                      "0,2;1e-3;4,25\r\n\r\n  \r\n",
                      m);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(m.sampleCount, 3);
    EXPECT_NEAR(m.sampleRate, 10.0, 1e-9);
    EXPECT_STREQ(m.channels[0].name, "Gauge 1");
    EXPECT_STREQ(m.channels[0].unit, "m");
    EXPECT_STREQ(m.channels[1].unit, "cm");
    expectValues(m, 0, {1.5f, -2.5f, 1e-3f});
    expectValues(m, 1, {2.0f, 3.0f, 4.25f});
}

TEST(CsvFormat, ReadsQuotedNamesCommentsAndBlankOrTabDelimiters) {
    TempDir dir;
    CMeasure m;
    auto r = readFrom(dir,
                      "# from the flume\n\"t\",\"gauge, left [m]\",\"say \"\"hi\"\"\"\n0,1,2\n"
                      "# a pause\n0.5,\"3\",4\n",
                      m);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_STREQ(m.channels[0].name, "gauge, left");
    EXPECT_STREQ(m.channels[0].unit, "m");
    EXPECT_STREQ(m.channels[1].name, "say \"hi\"");
    EXPECT_DOUBLE_EQ(m.sampleRate, 2.0);
    expectValues(m, 0, {1.0f, 3.0f});

    ReadOptions rate;
    rate.rate = 100;
    for (const char* text : {"1.0  2.0   3\n  4 5 6 \n", "1.0\t2.0\t3\n4\t5\t6\n",
                             "\"a\" \"b c\"  d\n1 2 3\n4 5 6\n"}) {
        CMeasure plain;
        r = readFrom(dir, text, plain, rate);
        ASSERT_TRUE(r.ok) << r.why;
        EXPECT_EQ(plain.channelCount, 3);
        EXPECT_EQ(plain.sampleCount, 2);
        EXPECT_EQ(plain.sampleRate, 100.0);
        expectValues(plain, 2, {3.0f, 6.0f});
        CMeasure noRate;
        r = readFrom(dir, text, noRate);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.why.find("give the sample rate"), std::string::npos) << r.why;
    }
}

// One gauge a file: its name's blank is no delimiter, whatever the rows hold.
TEST(CsvFormat, ReadsOneColumnWhoseNameHoldsABlank) {
    TempDir dir;
    ReadOptions rate;
    rate.rate = 20;
    for (const char* text :
         {"gauge 1 [m]\n0.5\n-0.25\n", "# one gauge\r\ngauge 1 [m]\r\n0.5\r\n-0.25\r\n",
          "gauge 1 [m];x [cm]\n0,5;1\n-0,25;2\n"}) {
        CMeasure m;
        auto r = readFrom(dir, text, m, rate);
        ASSERT_TRUE(r.ok) << r.why << " in " << text;
        EXPECT_STREQ(m.channels[0].name, "gauge 1");
        EXPECT_STREQ(m.channels[0].unit, "m");
        expectValues(m, 0, {0.5f, -0.25f});
    }
}

TEST(CsvFormat, RefusesUnevenTimeAndBadCellsWithTheirPlace) {
    TempDir dir;
    struct Case {
        const char* text;
        const char* why;
    } cases[] = {
        {"time,a\n0,1\n0.1,2\n0.2,3\n0.35,4\n", "row 5: the time step"},
        {"time,a,b\n0,1,2\n,2,3\n", "row 3, column 1 is empty"},
        {"# c\ntime,a,b\n0,1,2\n1,2,x\n2,3,4\n", "row 4, column 3: \"x\" is not a number"},
        {"a,b\n1,2\n3\n", "row 3 holds 1 cells, not 2"},
        {"time,a\n0,1\n\n2,3\n", "row 3 is empty"},
    };
    for (const Case& c : cases) {
        CMeasure m;
        auto r = readFrom(dir, c.text, m);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_NE(r.why.find(c.why), std::string::npos) << r.why;
        EXPECT_GE(m.sampleCount, 0);
    }
    // Rounding in the last digits is no uneven step.
    CMeasure m;
    auto r = readFrom(dir, "time,a\n0,1\n0.1,2\n0.20000000001,3\n0.3,4\n", m);
    EXPECT_TRUE(r.ok) << r.why;
}

TEST(CsvFormat, PartialReadKeepsTheRowsBeforeADamagedOne) {
    TempDir dir;
    const std::string text = "time,a\n0,1\n1,2\n2,3\n3,4,\n";
    CMeasure refused;
    auto r = readFrom(dir, text, refused);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.report.partialAvailable);
    EXPECT_NE(r.why.find("first 3 of 4 rows"), std::string::npos) << r.why;

    ReadOptions partial;
    partial.partial = true;
    CMeasure m;
    r = readFrom(dir, text, m, partial);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(m.sampleCount, 3);
    EXPECT_EQ(r.report.rowsRead, 3);
    EXPECT_EQ(r.report.rowsExpected, 4);
    expectValues(m, 0, {1.0f, 2.0f, 3.0f});

    CMeasure header;
    ReadReport report;
    ASSERT_TRUE(readCsvHeader(header, dir.file("in.csv").c_str(), nullptr, partial, &report));
    EXPECT_EQ(header.sampleCount, 3);
    EXPECT_FALSE(header.hasSamples());
    EXPECT_DOUBLE_EQ(header.sampleRate, 1.0);
}

TEST(CsvFormat, RoundTripKeepsNameDateRateNamesUnitsAndValues) {
    TempDir dir;
    CMeasure m;
    std::string name;
    toFileEncoding("Fala \xC5\x81\xC3\xB3\x64\xC5\xBA, pr\xC3\xB3\x62\x61 2", name);
    copyField(m.name, MAX_NAME + 1, name.c_str());
    m.date = packDosDate(2026, 3, 14, 9, 26, 52);
    m.sampleRate = 1000.0 / 3.0;
    m.channelCount = 3;
    m.sampleCount = 1000;
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    setChannelInfo(m.channels[0], 1, 0, "m", "gauge, \"left\"");
    setChannelInfo(m.channels[1], 1, 0, "", "probe [2]");
    setChannelInfo(m.channels[2], 1, 0, "cm/s", "velocity");
    ASSERT_TRUE(m.allocateSamples());
    const float values[] = {0.1f, 1e-7f, 3.4e38f, -123456.78f, 1.0f / 3.0f};
    for (int row = 0; row < m.sampleCount; ++row)
        for (int c = 0; c < 3; ++c)
            m.setSample(c, row, Sample{values[(row + c) % 5] * float(row % 7 + 1) / 7.0f, 0.0f});

    const std::string path = dir.file("out.csv");
    std::string why;
    ASSERT_TRUE(writeCsv(m, path.c_str(), &why)) << why;
    CMeasure back;
    ASSERT_TRUE(readCsv(back, path.c_str(), &why)) << why;
    EXPECT_STREQ(back.name, m.name);
    EXPECT_EQ(back.date, m.date);
    EXPECT_EQ(back.sampleRate, m.sampleRate);
    ASSERT_EQ(back.channelCount, 3);
    ASSERT_EQ(back.sampleCount, m.sampleCount);
    for (int c = 0; c < 3; ++c) {
        EXPECT_STREQ(back.channels[c].name, m.channels[c].name);
        EXPECT_STREQ(back.channels[c].unit, m.channels[c].unit);
    }
    EXPECT_EQ(std::memcmp(back.blockBytes(), m.blockBytes(), size_t(back.sampleBytes())), 0);

    // Without the rate comment the time column alone gives the rate back.
    std::string text = readString(path);
    text.erase(text.find("# rate:"), text.find("time [s]") - text.find("# rate:"));
    CMeasure fromTime;
    auto r = readFrom(dir, text, fromTime);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_NEAR(fromTime.sampleRate, m.sampleRate, 1e-9 * m.sampleRate);
}

TEST(CsvFormat, CutsLongNamesAtACharacterAndRefusesTooManyChannels) {
    TempDir dir;
    std::string header = "time";
    std::string longName;
    for (int i = 0; i < 20; ++i)
        longName += "\xE6\xB3\xA2"; // a character with no Windows-1250 form
    header += "," + longName + "\n0,1\n1,2\n";
    CMeasure m;
    auto r = readFrom(dir, header, m);
    ASSERT_TRUE(r.ok) << r.why;
    const size_t n = std::strlen(m.channels[0].name);
    EXPECT_EQ(n, 39u);
    EXPECT_TRUE(isValidUtf8(m.channels[0].name, n));

    std::string wide = "1";
    for (int c = 1; c <= MAX_CHANNELS; ++c)
        wide += ",1";
    ReadOptions rate;
    rate.rate = 1;
    CMeasure tooWide;
    r = readFrom(dir, wide + "\n", tooWide, rate);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.why.find("at most 64"), std::string::npos) << r.why;
}

// Cells pandas reads as numbers are read here too.
TEST(CsvFormat, ReadsValuesBelowAFloatsRangeAsStrtodDoes) {
    TempDir dir;
    CMeasure m;
    ReadOptions rate;
    rate.rate = 10;
    auto r = readFrom(dir, "a;b\n1e-50;-1e-400\n1e-40;2,5e-39\n1e400;-1e40\n", m, rate);
    ASSERT_TRUE(r.ok) << r.why;
    expectValues(m, 0, {0.0f, 1e-40f, INFINITY});
    expectValues(m, 1, {-0.0f, 2.5e-39f, -INFINITY});
    EXPECT_TRUE(std::signbit(m.value(1, 0)));
    EXPECT_EQ(std::fpclassify(m.value(0, 1)), FP_SUBNORMAL);
}

// pandas writes a missing value as an empty cell and reads one back as NaN.
TEST(CsvFormat, ReadsEmptyCellsAsGaps) {
    TempDir dir;
    CMeasure m;
    auto r = readFrom(dir, ",time,a,b\n0,0,1,\n1,0.5,,2\n2,1,3,4\n", m);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(m.channelCount, 2);
    EXPECT_EQ(m.sampleCount, 3);
    EXPECT_TRUE(std::isnan(m.value(1, 0)));
    EXPECT_TRUE(std::isnan(m.value(0, 1)));
    EXPECT_EQ(m.value(1, 2), 4.0f);

    // Without a header, a first row with a gap is a row, not names.
    ReadOptions rate;
    rate.rate = 5;
    CMeasure plain;
    r = readFrom(dir, "1;;3\n4;5,5;\n", plain, rate);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(plain.sampleCount, 2);
    EXPECT_STREQ(plain.channels[0].name, "Channel 1");
    EXPECT_TRUE(std::isnan(plain.value(1, 0)));
    EXPECT_EQ(plain.value(1, 1), 5.5f);
}

// A hostile line costs no more memory than a measurement can use.
TEST(CsvFormat, RefusesLinesNoMeasurementHoldsNamingTheLine) {
    TempDir dir;
    ReadOptions rate;
    rate.rate = 1;
    std::string wide = "# many\n1";
    for (int c = 0; c < 200000; ++c)
        wide += ",1";
    CMeasure m;
    auto r = readFrom(dir, wide + "\n", m, rate);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.why.find("line 2 holds more than 66 cells"), std::string::npos) << r.why;

    const std::string longLine(size_t(1) << 21, '7');
    for (const std::string& text :
         {"# " + longLine + "\na,b\n1,2\n", "a,b\n1,2\n# a comment\n1," + longLine + "\n",
          "\n\n" + longLine + "\n"}) {
        CMeasure refused;
        r = readFrom(dir, text, refused, rate);
        EXPECT_FALSE(r.ok);
        const size_t line = text[0] == '#' ? 1 : text[0] == 'a' ? 4 : 3;
        EXPECT_EQ(r.why.find("line " + std::to_string(line) + " is longer than 1 MiB"), 0u)
            << r.why.substr(0, 80);
    }
}

// Short rows cannot make the reader take memory for samples they do not hold.
TEST(CsvFormat, SampleMemoryStaysWithinWhatTheFileCanFill) {
    TempDir dir;
    std::string text = "time";
    for (int c = 1; c <= MAX_CHANNELS; ++c)
        text += ",g" + std::to_string(c);
    text += "\n0";
    for (int c = 1; c <= MAX_CHANNELS; ++c)
        text += ",1";
    text += "\n";
    for (int row = 0; row < 20000; ++row)
        text += "1\n";
    CMeasure m;
    auto r = readFrom(dir, text, m);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.why.find("row 3 holds 1 cells, not 65"), std::string::npos) << r.why;
    EXPECT_TRUE(r.report.partialAvailable);
    EXPECT_LE(int64_t(m.sampleBytes()), int64_t(text.size()) * 8);
    expectConsistent(m);

    ReadOptions partial;
    partial.partial = true;
    CMeasure kept;
    r = readFrom(dir, text, kept, partial);
    EXPECT_FALSE(r.ok); // one row gives no rate
    EXPECT_NE(r.why.find("at least 2 rows"), std::string::npos) << r.why;
}

// The rate is what the file says it is, or the file is refused.
TEST(CsvFormat, RefusesTimesAndRatesThatGiveNoTrueRate) {
    TempDir dir;
    struct Case {
        const char* text;
        const char* why;
    } cases[] = {
        {"time,a\n0,1\nnan,2\n7,3\n3,4\n100,5\n", "row 3, column 1: the time \"nan\""},
        {"time,a\n0,1\n1,2\ninf,3\n", "row 4, column 1: the time \"inf\""},
        {"# rate: inf\na\n1\n2\n", "line 1: the rate \"inf\""},
        {"# x\n# rate: -5\ntime,a\n0,1\n1,2\n", "line 2: the rate \"-5\""},
        {"# rate: 0\na\n1\n", "line 1: the rate \"0\""},
        {"# rate: fast\na\n1\n", "line 1: the rate \"fast\""},
        {"# rate: 50\ntime,a\n0,1\n0.04,2\n0.08,3\n",
         "line 1: the rate 50 Hz disagrees with the time column, which gives 25 Hz"},
        {"# rate: 1000\ntime,a\n0,1\n0.0010001,2\n0.0020002,3\n0.0030003,4\n",
         "the rate 1000 Hz disagrees"},
        {"time,a\n0,1\n0.01,2\n0.02,3\n0.04,4\n", "row 5: the time step is 0.02 s"},
        {"time,a\n0,1\n0,2\n1,3\n", "row 3: the time step is 0 s"},
        {"time,a\n0,1\n1e-320,2\n2e-320,3\n", "too small to give a sample rate"},
    };
    for (const Case& c : cases) {
        CMeasure m;
        auto r = readFrom(dir, c.text, m);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_NE(r.why.find(c.why), std::string::npos) << r.why;
        expectConsistent(m);
    }

    // Agreement within the last digit the time column prints is agreement;
    // the rate line, the finer of the two, gives the rate.
    for (const char* text : {"# rate: 3000\ntime,a\n0,1\n0.000333,2\n0.000667,3\n0.001000,4\n",
                             "# rate: 3000\ntime;a\n0,0;1\n0,00033;2\n0,00067;3\n0,00100;4\n",
                             "# rate: 3e3\ntime,a\n0,1\n3.333e-4,2\n6.667e-4,3\n1.0000e-3,4\n"}) {
        CMeasure m;
        auto r = readFrom(dir, text, m);
        ASSERT_TRUE(r.ok) << r.why << " in " << text;
        EXPECT_EQ(m.sampleRate, 3000.0);
    }
}

// What a measurement holds comes back from its CSV byte for byte.
TEST(CsvFormat, RoundTripKeepsBlanksEmptyNamesBracketsAndWindows1250) {
    TempDir dir;
    std::string polish, chinese;
    toFileEncoding("\xC5\x81\xC3\xB3\x64\xC5\xBA [m\xC2\xB3/s]", polish); // "Łódź [m³/s]"
    chinese = "\xE6\xB3\xA2 1";                                           // no Windows-1250 form
    const std::string names[][2] = {
        {" left gauge ", "m"},    {"", "cm"},        {"", ""},          {"a [x] b", "m"},
        {"level [m] (raw)", "?"}, {"probe (2)", ""}, {polish, "m\xB3"}, {chinese, "?"},
        {"\"q\" ; #1", " m "},
    };
    const int count = int(sizeof names / sizeof names[0]);
    CMeasure m;
    copyField(m.name, MAX_NAME + 1, "  run 3 ");
    m.sampleRate = 8;
    m.channelCount = count;
    m.sampleCount = 2;
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    for (int c = 0; c < count; ++c)
        setChannelInfo(m.channels[c], 1, 0, names[c][1].c_str(), names[c][0].c_str());
    ASSERT_TRUE(m.allocateSamples());
    for (int i = 0; i < count * 2; ++i)
        m.setSample(int(i % m.channelCount), i / m.channelCount, Sample{float(i), 0.0f});

    const std::string path = dir.file("names.csv");
    std::string why;
    ASSERT_TRUE(writeCsv(m, path.c_str(), &why)) << why;
    CMeasure back;
    ASSERT_TRUE(readCsv(back, path.c_str(), &why)) << why;
    EXPECT_STREQ(back.name, m.name);
    ASSERT_EQ(back.channelCount, count);
    for (int c = 0; c < count; ++c) {
        EXPECT_STREQ(back.channels[c].name, m.channels[c].name) << c;
        EXPECT_STREQ(back.channels[c].unit, m.channels[c].unit) << c;
    }

    // An empty measurement name stays empty too.
    m.name[0] = 0;
    ASSERT_TRUE(writeCsv(m, path.c_str(), &why)) << why;
    ASSERT_TRUE(readCsv(back, path.c_str(), &why)) << why;
    EXPECT_STREQ(back.name, "");
}

// pandas numbers columns that have no names, and writes the numbers as a header.
TEST(CsvFormat, ReadsPandasColumnNumbersAsAHeader) {
    TempDir dir;
    ReadOptions rate;
    rate.rate = 4;
    struct Case {
        const char* text;
        int rows;
        const char* firstName;
    } cases[] = {
        {"0,1,2\n1.5,2,3\n4,5,6\n", 2, "0"},
        {",0,1\n0,1.5,2\n1,3,4\n", 2, "0"},
        {"1;2\n0,5;1\n", 1, "1"},
        {"0\n5\n6\n", 3, "Channel 1"}, // one column of data starting at 0
        {"0,1,2\n", 1, "Channel 1"},   // no rows below it
        {"0,1,3\n4,5,6\n", 2, "Channel 1"},
        {"0,1,2\n1,2,3\n", 1, "0"},
    };
    for (const Case& c : cases) {
        CMeasure m;
        auto r = readFrom(dir, c.text, m, rate);
        ASSERT_TRUE(r.ok) << r.why << " in " << c.text;
        EXPECT_EQ(m.sampleCount, c.rows) << c.text;
        EXPECT_STREQ(m.channels[0].name, c.firstName) << c.text;
        EXPECT_STREQ(m.channels[0].unit, "?");
    }
}

// A message quotes no more of a file than a person can read, and all of it.
TEST(CsvFormat, MessagesQuoteFileTextShortAndWhole) {
    TempDir dir;
    const std::string utf16[] = {std::string("\xFF\xFE"
                                             "a\0,\0b\0\n\0"
                                             "1\0,\0"
                                             "2\0\n\0",
                                             18),
                                 std::string("t\0i\0m\0e\0,\0a\0\n\0", 14)};
    for (const std::string& text : utf16) {
        CMeasure m;
        auto r = readFrom(dir, text, m);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.why.find("UTF-16"), std::string::npos) << r.why;
        EXPECT_NE(r.why.find("UTF-8"), std::string::npos) << r.why;
    }

    std::string cell = "\xC5\x81"; // "Ł", whole or not at all
    for (int i = 0; i < 40; ++i)
        cell += "x\xC5\x82"; // "xł"
    cell += std::string(1000000, 'y');
    struct Case {
        std::string text;
        std::string quote;
    } cases[] = {
        {"time,a\n0,1\n1," + cell + "\n", "\"\xC5\x81x\xC5\x82"},
        {"time,a\n0,1\n" + cell + ",2\n", "row 3, column 1: \"\xC5\x81x"},
        {"# rate: " + cell + "\na\n1\n", "the rate \""},
        {"a,b\n1,x\x01y\n", "\"x?y\" is not a number"},
    };
    for (const Case& c : cases) {
        CMeasure m;
        auto r = readFrom(dir, c.text, m);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.why.find(c.quote), std::string::npos) << r.why.substr(0, 200);
        EXPECT_LT(r.why.size(), 200u) << r.why.substr(0, 200);
        EXPECT_TRUE(isValidUtf8(r.why.data(), r.why.size())) << r.why.substr(0, 200);
    }
}
