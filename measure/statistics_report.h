// What the "Statistic" dialog shows for a block, as values and as texts, so
// the dialog and ondarix-batch present the same numbers.
#pragma once

#include "measure/measure.h"
#include "measure/statistics.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Each value is empty where its group holds no computed value: no deviation
// for a single sample, no heights or periods when none were measured (or the
// block was too short for the wave analysis), and so no frequencies.
struct StatisticsReport {
    int32_t from = 0; // the block as entered
    int32_t to = 0;
    std::optional<double> minimum;
    std::optional<double> maximum;
    std::optional<double> mean;
    std::optional<double> deviation;
    int32_t heightCount = 0;
    std::optional<double> heightMin;
    std::optional<double> heightMax;
    std::optional<double> heightMean;
    int32_t periodCount = 0;
    std::optional<double> periodMin;
    std::optional<double> periodMax;
    std::optional<double> periodMean;
    std::optional<double> frequencyMin;  // 1 / periodMax
    std::optional<double> frequencyMax;  // 1 / periodMin
    std::optional<double> frequencyMean; // 1 / periodMean, not the mean of the reciprocals
};

StatisticsReport statisticsReport(const SignalStatistics& stats, const BlockRange& block);

// "%6.4f" in the "C" locale, or "-" for no value.
std::string statisticText(const std::optional<double>& value);
// The group captions "Wave (%d)" and "Period (%d)".
std::string waveCaption(int32_t heightCount);
std::string periodCaption(int32_t periodCount);

// The text of one control of the "Statistic" dialog, by control id.
struct StatisticsFieldText {
    int control;
    std::string text;
};
constexpr int STATISTICS_FIELD_COUNT = 17;
std::array<StatisticsFieldText, STATISTICS_FIELD_COUNT>
statisticsFieldTexts(const StatisticsReport& report);
