#include "measure/text_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "measure/int_format.h"
#include "measure/line_reader.h"
#include "measure/number_text.h"
#include "support/temp_dir.h"

namespace {

bool readFrom(const TempDir& dir, const std::string& text, CMeasure& m,
              std::string* why = nullptr) {
    writeString(dir.file("in.txt"), text);
    return readText(m, dir.file("in.txt").c_str(), why);
}

std::string fileText(const std::string& path) {
    auto bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(NumberText, ParsesLikeScanfPercentF) {
    float v[8];
    const std::string line = "  +1.5\t-2e3 .25 7. 1E-2 inf abc 9";
    int n = parseFloats(line.data(), line.data() + line.size(), v, 8);
    ASSERT_EQ(n, 6); // stops at "abc"
    EXPECT_EQ(v[0], 1.5f);
    EXPECT_EQ(v[1], -2000.0f);
    EXPECT_EQ(v[2], 0.25f);
    EXPECT_EQ(v[3], 7.0f);
    EXPECT_EQ(v[4], 0.01f);
    EXPECT_TRUE(std::isinf(v[5]));
    const std::string huge = "1e50 -1e-60 +-3";
    EXPECT_EQ(parseFloats(huge.data(), huge.data() + huge.size(), v, 8), 2);
    EXPECT_TRUE(std::isinf(v[0]));
    EXPECT_EQ(v[1], 0.0f);
    // 0.1 is rounded once, straight to float (as strtof does)
    const std::string tenth = "0.1";
    parseFloats(tenth.data(), tenth.data() + 3, v, 1);
    EXPECT_EQ(v[0], 0.1f);
}

TEST(NumberText, FormatsLikePrintfPercentE) {
    char buf[64];
    struct Case {
        double value;
        int width;
        const char* printf;
    } cases[] = {{0.0, 6, "0.000000e+00"},     {-1234.5678, 6, "-1.234568e+03"},
                 {1e-300, 5, "1.000000e-300"}, {2.5e10, 20, "        2.500000e+10"},
                 {INFINITY, 6, "   inf"},      {-NAN, 6, "  -nan"}};
    for (const auto& c : cases) {
        int n = formatE(buf, c.value, c.width);
        char ref[64];
        std::snprintf(ref, sizeof ref, "%*e", c.width, c.value);
        EXPECT_EQ(std::string(buf, size_t(n)), ref);
        EXPECT_EQ(std::string(buf, size_t(n)), c.printf);
    }
}

TEST(TextFormat, ReadsChannelsRateAndNames) {
    TempDir dir;
    CMeasure m;
    ASSERT_TRUE(readFrom(dir, "0.0\t1\t2\t3\r\n0.02 4 5 6\r\n0.04\t7\t8\t9.5\r\n", m));
    EXPECT_EQ(m.channelCount, 3);
    EXPECT_EQ(m.sampleCount, 3);
    EXPECT_NEAR(m.sampleRate, 50.0, 1e-4); // 1 / 0.02 from floats
    EXPECT_EQ(m.value(2, 2), 9.5f);
    EXPECT_EQ(m.value(0, 1), 4.0f);
    EXPECT_STREQ(m.name, "Pomiar");
    EXPECT_STREQ(m.channels[2].name, "Channel 3");
    EXPECT_STREQ(m.channels[2].unit, "?");
    EXPECT_EQ(m.sampleFormat, 5);
    EXPECT_EQ(std::string(m.path), dir.file("in.txt"));
}

TEST(TextFormat, RejectsAndStopsAtBadLines) {
    TempDir dir;
    {
        CMeasure m;
        std::string why;
        EXPECT_FALSE(readFrom(dir, "0.5\n1.0\n", m, &why));
        EXPECT_FALSE(m.hasSamples());
        EXPECT_NE(why.find("line 1"), std::string::npos);
    }
    {
        CMeasure m;
        EXPECT_FALSE(readFrom(dir, "0 1 2\n1 2\n", m));
        EXPECT_FALSE(m.hasSamples());
    }
    {
        // 18 numbers per line: 16 channels, the rest ignored
        std::string line = "0";
        for (int i = 1; i < 18; ++i)
            line += " " + std::to_string(i);
        std::string line2 = "1";
        for (int i = 1; i < 18; ++i)
            line2 += " " + std::to_string(i * 2);
        CMeasure m;
        EXPECT_TRUE(readFrom(dir, line + "\n" + line2 + "\n", m));
        EXPECT_EQ(m.channelCount, 16);
        EXPECT_EQ(m.value(15, 1), 32.0f);
    }
    {
        // a bad line in the middle leaves the rows after it zero
        CMeasure m;
        EXPECT_FALSE(readFrom(dir, "0 1\n1 2\n2 x\n3 4\n", m));
        EXPECT_EQ(m.value(0, 1), 2.0f);
        EXPECT_EQ(m.value(0, 2), 0.0f);
        EXPECT_EQ(m.value(0, 3), 0.0f);
    }
    {
        CMeasure m;
        EXPECT_FALSE(readText(m, (dir.path() + "/missing.txt").c_str()));
        EXPECT_STREQ(m.path, "");
    }
}

// What the header read (info) and the full read make of one file, with and
// without a partial read: they must agree on every file.
struct TextCase {
    const char* text;
    int rows;     // rows of a plain read; -1 when it is refused
    int partial;  // rows of a partial read; -1 when it is refused too
    int expected; // rows the file promises, where a partial read is possible
};

TEST(TextFormat, HeaderAndFullReadAgreeOnBlankLinesAndDamagedRows) {
    const TextCase cases[] = {
        // Blank lines at the end, as most tools leave them, are no rows.
        {"0 1\n1 2\n2 3\n\n", 3, 3, 0},
        {"0 1\r\n1 2\r\n2 3\r\n\r\n\r\n", 3, 3, 0},
        {"0 1\n1 2\n2 3\n \t \n\t\r\n", 3, 3, 0},
        {"0 1\n1 2\n2 3", 3, 3, 0},
        // A blank line before a row is damage, not the end.
        {"0 1\n1 2\n\n3 4\n", -1, 2, 4},
        {"0 1\n1 2\n2 3\n\n4 5\n\n", -1, 3, 5},
        // A last row cut short or garbled.
        {"0 1 2\n1 2 3\n2 3 4\n3 4", -1, 3, 4},
        {"0 1 2\n1 2 3\n2 3 4\r\n3 4 x\r\n", -1, 3, 4},
        {"0 1 2\n1 2 3\n2 3 4\n3 4\n\n", -1, 3, 4},
        // Nothing but blank lines, or too little to give a sample rate.
        {"\n\n\n", -1, -1, 0},
        {"", -1, -1, 0},
        {"0 1\n\n", -1, -1, 0},
        {"0 1\n1 2 3\n2 3\n", -1, -1, 0},
    };
    TempDir dir;
    const std::string path = dir.file("in.txt");
    for (const TextCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        writeString(path, c.text);
        for (bool partial : {false, true}) {
            const int rows = partial ? c.partial : c.rows;
            CMeasure full, header;
            std::string fullWhy, headerWhy;
            ReadReport fullReport, headerReport;
            const ReadOptions options{partial};
            bool fullOk = readText(full, path.c_str(), &fullWhy, options, &fullReport);
            bool headerOk =
                readTextHeader(header, path.c_str(), &headerWhy, options, &headerReport);
            EXPECT_EQ(fullOk, rows >= 0) << partial << " " << fullWhy;
            EXPECT_EQ(headerOk, fullOk) << partial << " " << headerWhy;
            EXPECT_EQ(headerWhy, fullWhy) << partial;
            EXPECT_EQ(fullReport.partialAvailable, c.expected > 0) << partial;
            EXPECT_EQ(headerReport.partialAvailable, c.expected > 0) << partial;
            if (c.expected > 0) {
                EXPECT_EQ(fullReport.rowsRead, c.partial);
                EXPECT_EQ(fullReport.rowsExpected, c.expected);
                EXPECT_EQ(headerReport.rowsExpected, c.expected);
            }
            if (!fullOk) continue;
            EXPECT_EQ(full.sampleCount, rows) << partial;
            EXPECT_EQ(header.sampleCount, rows) << partial;
            // The last row kept is the file's own.
            EXPECT_EQ(full.value(0, rows - 1), float(rows)) << partial;
        }
    }
}

TEST(TextFormat, RefusalOfADamagedRowNamesTheCompleteRows) {
    TempDir dir;
    CMeasure m;
    std::string why;
    EXPECT_FALSE(readFrom(dir, "0 1\n1 2\n2 3\n3 x\n", m, &why));
    EXPECT_EQ(why, "line 4 does not hold 2 numbers; only the first 3 of 4 rows are complete (a "
                   "partial read keeps them)");
    // The rows before the damage are in place, the rest zero.
    ASSERT_EQ(m.sampleCount, 4);
    EXPECT_EQ(m.value(0, 2), 3.0f);
    EXPECT_EQ(m.value(0, 3), 0.0f);
}

TEST(TextFormat, OverlongLinesCountAsSeveralAndNeverOverflow) {
    TempDir dir;
    // 600 characters of padding: read as pieces of 511, so line 3 is split and
    // the count includes the extra piece; its first piece has only spaces.
    std::string text = "0 1\n1 2\n" + std::string(600, ' ') + "5\n";
    CMeasure m;
    EXPECT_FALSE(readFrom(dir, text, m));
    EXPECT_EQ(m.sampleCount, 4);
    // A line of thousands of digits is read in pieces without harm.
    CMeasure big;
    EXPECT_FALSE(readFrom(dir, "0 1\n1 2\n" + std::string(5000, '7') + "\n", big));
}

TEST(TextFormat, LineReaderSplitsLikeFgets) {
    TempDir dir;
    // exactly 511 characters then a newline: two pieces, the second the bare newline
    writeString(dir.file("l.txt"), std::string(511, 'a') + "\n" + "tail");
    FileHandle file = FileHandle::openRead(dir.file("l.txt").c_str());
    LineReader lines(file, 1024);
    const char* p;
    size_t n;
    std::vector<size_t> lengths;
    while (lines.next(p, n))
        lengths.push_back(n);
    EXPECT_EQ(lengths, (std::vector<size_t>{511, 1, 4}));
}

TEST(TextFormat, IntTextIntRoundTripKeepsValues) {
    TempDir dir;
    CMeasure a;
    a.channelCount = 3;
    a.sampleCount = 500;
    a.sampleRate = 40.0;
    ASSERT_TRUE(a.allocateSamples());
    for (int j = 0; j < 500; ++j)
        for (int c = 0; c < 3; ++c)
            a.setSample(c, j, {float(std::sin(j * 0.1 + c) * std::pow(10.0, c - 1)), 0.0f});
    ASSERT_TRUE(writeInt(a, dir.file("a.int").c_str()));
    CMeasure b;
    ASSERT_TRUE(readInt(b, dir.file("a.int").c_str()));
    ASSERT_TRUE(writeTextFile(b, dir.file("b.txt").c_str()));
    EXPECT_EQ(fileText(dir.file("b.txt")).substr(0, 38),
              "0.000000e+00\t0.000000e+00\t8.414710e-01");
    EXPECT_EQ(fileText(dir.file("b.txt")).find("\n"), fileText(dir.file("b.txt")).find("\r\n") + 1);
    CMeasure c;
    ASSERT_TRUE(readText(c, dir.file("b.txt").c_str()));
    ASSERT_TRUE(writeInt(c, dir.file("c.int").c_str()));
    CMeasure d;
    ASSERT_TRUE(readInt(d, dir.file("c.int").c_str()));
    ASSERT_EQ(d.sampleCount, 500);
    EXPECT_NEAR(d.sampleRate, 40.0, 1e-3);
    for (int j = 0; j < 500; ++j)
        for (int k = 0; k < 3; ++k)
            // "%e" keeps 7 significant digits: float values come back within 1e-6 relative
            EXPECT_NEAR(d.value(k, j), a.value(k, j), 1e-6 * std::fabs(a.value(k, j)) + 1e-12);
}

// The reader takes the rate from rows 1 and 2 and refuses a first line of
// fewer than two numbers: 0 or 1 rows, or no channels, made unreadable files.
TEST(TextFormat, WritesNothingItsReaderCannotReadBack) {
    TempDir dir;
    const std::string path = dir.file("out.txt");
    CMeasure m;
    EXPECT_STREQ(textFormatRefusal(m), "the measurement has no channels");
    EXPECT_FALSE(writeTextFile(m, path.c_str()));
    m.channelCount = 2;
    m.sampleCount = 1;
    m.sampleRate = 4.0;
    ASSERT_TRUE(m.allocateSamples());
    m.setSample(0, 0, {1.0f, 0.0f});
    m.setSample(1, 0, {2.0f, 0.0f});
    EXPECT_NE(textFormatRefusal(m), nullptr);
    EXPECT_FALSE(writeTextFile(m, path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(path));
    // Two rows are enough: X values 0 and 0.25 give the rate 4 back exactly.
    m.sampleCount = 2;
    ASSERT_TRUE(m.allocateSamples());
    for (int j = 0; j < 2; ++j)
        for (int c = 0; c < 2; ++c)
            m.setSample(c, j, Sample{float(j + 1), 0.0f});
    ASSERT_TRUE(writeTextFile(m, path.c_str()));
    CMeasure back;
    ASSERT_TRUE(readText(back, path.c_str()));
    EXPECT_EQ(back.channelCount, 2);
    EXPECT_EQ(back.sampleCount, 2);
    EXPECT_EQ(back.sampleRate, 4.0);
}

TEST(TextFormat, BlockTextRunsDownwardsAndSkipsEmptyRanges) {
    TempDir dir;
    CMeasure m;
    m.channelCount = 1;
    m.sampleCount = 120;
    m.sampleRate = 10.0;
    m.sampleFormat = SAMPLE_FORMAT_COMPLEX;
    ASSERT_TRUE(m.allocateSamples());
    for (int j = 0; j < 120; ++j)
        m.setSample(0, j, {float(j), 0.5f});
    ASSERT_TRUE(writeBlockText(m, 0, 100, 90, dir.file("blk.txt").c_str()));
    std::string text = fileText(dir.file("blk.txt"));
    EXPECT_EQ(text.substr(0, 40), "9.900000e+00\t9.900000e+01\t5.000000e-01\r\n");
    EXPECT_EQ(text.substr(text.size() - 40), "9.000000e+00\t9.000000e+01\t5.000000e-01\r\n");
    EXPECT_EQ(text.size(), 10u * 40u);
    EXPECT_FALSE(writeBlockText(m, 0, 5, 5, dir.file("none.txt").c_str()));
    EXPECT_TRUE(readBytes(dir.file("none.txt")).empty());
}
