#include "measure/statistics_report.h"

#include <charconv>
#include <cstdio>

namespace {

std::optional<double> when(bool present, double value) {
    return present ? std::optional<double>(value) : std::nullopt;
}

void signalPart(StatisticsReport& r, const SignalStatistics& s) {
    bool signal = (s.valid & STAT_SIGNAL) == STAT_SIGNAL;
    r.minimum = when(signal, s.minimum);
    r.maximum = when(signal, s.maximum);
    r.mean = when(signal, s.mean);
    r.deviation = when((s.valid & STAT_DEVIATION) != 0, s.deviation);
}

void wavePart(StatisticsReport& r, const SignalStatistics& s) {
    r.heightCount = (s.valid & STAT_HEIGHTS) == STAT_HEIGHTS ? s.heightCount : 0;
    r.periodCount = (s.valid & STAT_PERIODS) == STAT_PERIODS ? s.periodCount : 0;
    // With no wave measured the group's values are placeholders of 0, and the
    // frequencies would be reciprocals of 0.
    bool heights = r.heightCount > 0;
    bool periods = r.periodCount > 0;
    r.heightMin = when(heights, s.heightMin);
    r.heightMax = when(heights, s.heightMax);
    r.heightMean = when(heights, s.heightMean);
    r.periodMin = when(periods, s.periodMin);
    r.periodMax = when(periods, s.periodMax);
    r.periodMean = when(periods, s.periodMean);
    r.frequencyMin = when(periods, 1 / s.periodMax);
    r.frequencyMax = when(periods, 1 / s.periodMin);
    r.frequencyMean = when(periods, 1 / s.periodMean);
}

std::string intText(const char* format, int32_t value) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, format, int(value));
    return buffer;
}

} // namespace

StatisticsReport statisticsReport(const SignalStatistics& stats, const BlockRange& block) {
    StatisticsReport r;
    r.from = block.from;
    r.to = block.to;
    signalPart(r, stats);
    wavePart(r, stats);
    return r;
}

std::string statisticText(const std::optional<double>& value) {
    if (!value) return "-";
    // Same text as printf "%6.4f" gives in the "C" locale, whatever the
    // process locale is.
    char digits[400];
    auto res = std::to_chars(digits, digits + sizeof digits, *value, std::chars_format::fixed, 4);
    std::string text(digits, res.ptr);
    if (text.size() < 6) text.insert(0, 6 - text.size(), ' ');
    return text;
}

std::string waveCaption(int32_t heightCount) {
    return intText("Wave (%d)", heightCount);
}

std::string periodCaption(int32_t periodCount) {
    return intText("Period (%d)", periodCount);
}

std::array<StatisticsFieldText, STATISTICS_FIELD_COUNT>
statisticsFieldTexts(const StatisticsReport& r) {
    return {{
        {165, intText("%d", r.from)},
        {166, intText("%d", r.to)},
        {167, statisticText(r.minimum)},
        {168, statisticText(r.maximum)},
        {170, statisticText(r.mean)},
        {171, statisticText(r.deviation)},
        {178, waveCaption(r.heightCount)},
        {172, statisticText(r.heightMin)},
        {173, statisticText(r.heightMax)},
        {174, statisticText(r.heightMean)},
        {179, periodCaption(r.periodCount)},
        {175, statisticText(r.periodMin)},
        {176, statisticText(r.periodMax)},
        {177, statisticText(r.periodMean)},
        {180, statisticText(r.frequencyMin)},
        {181, statisticText(r.frequencyMax)},
        {182, statisticText(r.frequencyMean)},
    }};
}
