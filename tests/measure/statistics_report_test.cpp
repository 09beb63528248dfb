#include "measure/statistics_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

SignalStatistics wavesResult() {
    SignalStatistics s{};
    s.valid = STAT_ALL;
    s.minimum = -1.25;
    s.maximum = 2.5;
    s.mean = 0.125;
    s.deviation = 0.75;
    s.heightCount = 6;
    s.heightMin = 1.0;
    s.heightMax = 3.0;
    s.heightMean = 2.0;
    s.periodCount = 5;
    s.periodMin = 0.5;
    s.periodMax = 4.0;
    s.periodMean = 0.8;
    return s;
}

std::string printfText(double v) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%6.4f", v);
    return buffer;
}

} // namespace

TEST(StatisticsReport, NumbersMatchPrintf) {
    // printf in the "C" locale (the test process never changes it) is the reference.
    for (double v : {0.0, 1.5, -2.5, 0.00005, 0.00015, -0.00004, 12345.678, 1e20, -7.25e-7})
        EXPECT_EQ(statisticText(v), printfText(v)) << v;
    EXPECT_EQ(statisticText(1.5), "1.5000");
    EXPECT_EQ(statisticText(std::nullopt), "-");
}

TEST(StatisticsReport, FieldsOfAFullResult) {
    BlockRange block{2, 900, 100}; // shown as entered, backwards
    auto fields = statisticsFieldTexts(statisticsReport(wavesResult(), block));
    std::vector<std::pair<int, std::string>> expected = {
        {165, "900"},
        {166, "100"},
        {167, "-1.2500"},
        {168, "2.5000"},
        {170, "0.1250"},
        {171, "0.7500"},
        {178, "Wave (6)"},
        {172, "1.0000"},
        {173, "3.0000"},
        {174, "2.0000"},
        {179, "Period (5)"},
        {175, "0.5000"},
        {176, "4.0000"},
        {177, "0.8000"},
        // Frequencies: 1/periodMax, 1/periodMin, and 1/periodMean = 1/0.8.
        {180, "0.2500"},
        {181, "2.0000"},
        {182, "1.2500"},
    };
    ASSERT_EQ(fields.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fields[i].control, expected[i].first) << i;
        EXPECT_EQ(fields[i].text, expected[i].second) << expected[i].first;
    }
}

TEST(StatisticsReport, NoFrequenciesWithoutPeriods) {
    // Heights but no period (three extremes, two crossings): the zeros left in
    // the period fields must not turn into frequencies of 1/0.
    SignalStatistics s = wavesResult();
    s.periodCount = 0;
    s.periodMin = s.periodMax = s.periodMean = 0;
    StatisticsReport r = statisticsReport(s, BlockRange{0, 0, 200});
    EXPECT_EQ(statisticText(r.heightMean), "2.0000");
    EXPECT_EQ(periodCaption(r.periodCount), "Period (0)");
    for (auto* v :
         {&r.periodMin, &r.periodMean, &r.frequencyMin, &r.frequencyMax, &r.frequencyMean})
        EXPECT_FALSE(v->has_value());
    // Counts behind unset bits are not shown.
    s = wavesResult();
    s.valid = STAT_SIGNAL;
    r = statisticsReport(s, BlockRange{0, 4, 5});
    EXPECT_EQ(waveCaption(r.heightCount), "Wave (0)");
    EXPECT_FALSE(r.deviation.has_value());
    EXPECT_FALSE(r.heightMax.has_value());
}
