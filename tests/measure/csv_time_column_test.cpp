// A CSV time column as loggers, C++, MATLAB, numpy and pandas print it, and
// what stays refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>

#include "file_test_support.h"
#include "measure/csv_format.h"
#include "support/temp_dir.h"

namespace {

struct CsvRead {
    bool ok;
    std::string why;
    ReadReport report;
};

CsvRead readText(const std::string& text, CMeasure& m, const ReadOptions& options = {}) {
    TempDir dir;
    const std::string path = dir.file("times.csv");
    writeString(path, text);
    CsvRead r{};
    r.ok = readCsv(m, path.c_str(), &r.why, options, &r.report);
    return r;
}

// `rows` rows after `head`, row i at the time printf's `format` prints for `time(i)`.
std::string table(const char* head, int rows, const char* format,
                  const std::function<double(int)>& time) {
    std::string text = std::string(head) + "time,gauge [m]\n";
    char cell[64];
    for (int i = 0; i < rows; ++i) {
        std::snprintf(cell, sizeof cell, format, time(i));
        text += cell + std::string(",1\n");
    }
    return text;
}

// Seconds since 1970 as the C library writes them in UTC.
std::string utcText(std::time_t second) {
    std::tm parts{};
    gmtime_r(&second, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
    return text;
}

const double START = 1772619300; // 2026-03-04 10:15:00 UTC

} // namespace

TEST(CsvTimeColumn, ReadsTimesAsWritersRoundThem) {
    struct Case {
        const char* format;
        double rate;
        double unit; // the coarsest the times print
    } cases[] = {{"%.3f", 30, 1e-3}, {"%.4f", 1000.0 / 3, 1e-4},
                 {"%g", 30, 1e-3},   {"%.5g", 30, 1e-2}, // C++ streams, MATLAB's csvwrite
                 {"%.17g", 100, 0},  {"%.18e", 100, 0},  // epoch seconds, numpy's savetxt
                 {"%.2f", 100, 1e-2}};
    for (const Case& c : cases) {
        const double start = c.rate == 100 ? START : 0;
        const int rows = 6000;
        CMeasure m;
        auto r = readText(table("", rows, c.format, [&](int i) { return start + i / c.rate; }), m);
        ASSERT_TRUE(r.ok) << r.why << " for " << c.format;
        // The fitted step of n times, each off by half a unit u at most, is
        // off by 1.5u/n at most; the rate by rate² times that.
        EXPECT_NEAR(m.sampleRate, c.rate, c.rate * c.rate * 1.5 * c.unit / rows + 1e-6) << c.format;
    }
}

TEST(CsvTimeColumn, ReadsDateTimesWithTheirOffsetsAndDate) {
    // 1 Hz through a leap day (2028-02-28 23:59:50 on) and a new year
    // (2026-12-31 23:59:50 on).
    for (std::time_t start : {std::time_t(1835395190), std::time_t(1798761590)}) {
        std::string text = "time,a\n";
        for (int i = 0; i < 40; ++i)
            text += utcText(start + i) + (i % 2 ? "Z" : "+00:00") + ",1\n";
        CMeasure m;
        auto r = readText(text, m);
        ASSERT_TRUE(r.ok) << r.why << " from " << utcText(start);
        EXPECT_NEAR(m.sampleRate, 1.0, 1e-12);
    }
    // Fractions as pandas writes them (none on the whole second), an hour
    // between two samples that the offsets say are 0.5 s apart.
    CMeasure m;
    auto r = readText("time,a\n2026-03-29 01:59:59+01:00,1\n2026-03-29 01:59:59.500000+01:00,2\n"
                      "2026-03-29 03:00:00+0200,3\n2026-03-29T03:00:00.5+02:00,4\n",
                      m);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_NEAR(m.sampleRate, 2.0, 1e-12);
    EXPECT_EQ(m.date, packDosDate(2026, 3, 29, 1, 59, 59));
}

TEST(CsvTimeColumn, RefusesWhatIsNoEvenTimeNamingTheRow) {
    struct Case {
        std::string text;
        const char* why;
    } cases[] = {
        // 100 Hz, then 50 Hz from the 500th sample (the file's row 502).
        {table("", 800, "%.3f",
               [](int i) { return i < 500 ? i / 100.0 : 4.99 + (i - 499) / 50.0; }),
         "row 502: the time step is 0.02 s after 0.01 s; the samples must be evenly spaced"},
        // A dropped sample at 30 Hz.
        {table("", 300, "%.3f", [](int i) { return (i < 120 ? i : i + 1) / 30.0; }),
         "row 122: the time step is 0.066 s after 0.0333"},
        {"time,a\n2026-03-04T10:15:00,1\n2026-03-04T10:15:01,2\n2026-03-04T10:16:02,3\n",
         "row 4: the time step is 61 s after 1 s"},
        {"time,a\n2026-03-04T10:15:00Z,1\n2026-03-04T11:15:00+01:00,2\n",
         "row 3: the time step is 0 s; the times must increase"},
        {table("# rate: 29.9\n", 900, "%.3f", [](int i) { return i / 30.0; }),
         "line 1: the rate 29.9 Hz disagrees with the time column, which gives 29.99"},
        {"time,a\n2026-02-29 10:00:00,1\n",
         "row 2, column 1: \"2026-02-29 10:00:00\" is not a number"},
        {"time,a\n2026-03-04 10:15:00,1\n0.5,2\n", "row 3, column 1: \"0.5\" is not a date-time"},
        {"time,a\n2026-03-04 10:15:00,1\n2026-03-04 24:00:00,2\n", "row 3, column 1"},
        {"time,a\n2026-03-04 10:15:00,1\n2026-03-04 10:15:01+1:00,2\n", "row 3, column 1"},
        {"time,a\n2026-03-04 10:15:00,1\n2026-03-04 10:15:01.,2\n", "row 3, column 1"},
    };
    for (const Case& c : cases) {
        CMeasure m;
        auto r = readText(c.text, m);
        EXPECT_FALSE(r.ok) << c.why;
        EXPECT_EQ(r.why.find(c.why), 0u) << r.why;
    }
    // Rounded to the digits it prints, the time column agrees with its rate line.
    CMeasure m;
    auto r = readText(table("# rate: 30\n", 900, "%.3f", [](int i) { return i / 30.0; }), m);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(m.sampleRate, 30.0);
}

TEST(CsvTimeColumn, GivenRateStandsOverTheTimeColumn) {
    ReadOptions given;
    given.rate = 30;
    for (const char* text : {"# rate: 25\ntime,a\n0,1\n0.04,2\n0.08,3\n",
                             "time,a\n10:15:00.00,1\n10:15:00.04,2\n10:15:00.08,3\n"}) {
        CMeasure m;
        auto r = readText(text, m, given);
        ASSERT_TRUE(r.ok) << r.why << " in " << text;
        EXPECT_EQ(m.sampleRate, 30.0);
        EXPECT_EQ(m.sampleCount, 3);
        EXPECT_TRUE(r.report.timeColumnIgnored);
        EXPECT_FALSE(readText(text, m).report.timeColumnIgnored);
    }
}
