// ondarix-batch stats: what the "Statistic" dialog shows for one channel's block.
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "batch/batch_command.h"
#include "batch/file_series.h"
#include "batch/json_text.h"
#include "batch/measure_input.h"
#include "measure/statistics.h"
#include "measure/statistics_report.h"

namespace {

void printGroup(const char* caption, const std::optional<double>& min,
                const std::optional<double>& max, const std::optional<double>& mean) {
    std::printf("%s\n", caption);
    std::printf("  Min:     %s\n", statisticText(min).c_str());
    std::printf("  Max:     %s\n", statisticText(max).c_str());
    std::printf("  Mean:    %s\n", statisticText(mean).c_str());
}

void printText(const StatisticsReport& r) {
    std::printf("From:      %d\n", r.from);
    std::printf("To:        %d\n", r.to);
    std::printf("Signal\n");
    std::printf("  Min:     %s\n", statisticText(r.minimum).c_str());
    std::printf("  Max:     %s\n", statisticText(r.maximum).c_str());
    std::printf("  Mean:    %s\n", statisticText(r.mean).c_str());
    std::printf("  St.dev:  %s\n", statisticText(r.deviation).c_str());
    printGroup(waveCaption(r.heightCount).c_str(), r.heightMin, r.heightMax, r.heightMean);
    printGroup(periodCaption(r.periodCount).c_str(), r.periodMin, r.periodMax, r.periodMean);
    printGroup("Frequency", r.frequencyMin, r.frequencyMax, r.frequencyMean);
}

// Scripts get the value itself, not the dialog's four decimals; null where
// there is no value.
std::string jsonValue(const std::optional<double>& value) {
    return value ? jsonNumber(*value) : "null";
}

void printJsonGroup(const char* name, const char* countName, int32_t count,
                    const std::optional<double>& min, const std::optional<double>& max,
                    const std::optional<double>& mean, bool last) {
    std::printf("  \"%s\": {", name);
    if (countName) std::printf("\"%s\": %d, ", countName, count);
    std::printf("\"min\": %s, \"max\": %s, \"mean\": %s}%s\n", jsonValue(min).c_str(),
                jsonValue(max).c_str(), jsonValue(mean).c_str(), last ? "" : ",");
}

void printJson(const StatisticsReport& r) {
    std::printf("{\n  \"from\": %d,\n  \"to\": %d,\n", r.from, r.to);
    std::printf("  \"signal\": {\"min\": %s, \"max\": %s, \"mean\": %s, \"deviation\": %s},\n",
                jsonValue(r.minimum).c_str(), jsonValue(r.maximum).c_str(),
                jsonValue(r.mean).c_str(), jsonValue(r.deviation).c_str());
    printJsonGroup("wave", "count", r.heightCount, r.heightMin, r.heightMax, r.heightMean, false);
    printJsonGroup("period", "count", r.periodCount, r.periodMin, r.periodMax, r.periodMean, false);
    printJsonGroup("frequency", nullptr, 0, r.frequencyMin, r.frequencyMax, r.frequencyMean, true);
    std::printf("}\n");
}

// The --json object as a row: its groups keep their keys.
SeriesRow statsRow(const StatisticsReport& r) {
    SeriesRow row;
    auto add = [&](const char* group, const char* key, const std::optional<double>& value) {
        addNumber(row, key, value ? *value : NAN, group);
    };
    addNumber(row, "from", r.from);
    addNumber(row, "to", r.to);
    add("signal", "min", r.minimum);
    add("signal", "max", r.maximum);
    add("signal", "mean", r.mean);
    add("signal", "deviation", r.deviation);
    addNumber(row, "count", r.heightCount, "wave");
    add("wave", "min", r.heightMin);
    add("wave", "max", r.heightMax);
    add("wave", "mean", r.heightMean);
    addNumber(row, "count", r.periodCount, "period");
    add("period", "min", r.periodMin);
    add("period", "max", r.periodMax);
    add("period", "mean", r.periodMean);
    add("frequency", "min", r.frequencyMin);
    add("frequency", "max", r.frequencyMax);
    add("frequency", "mean", r.frequencyMean);
    return row;
}

int statsOfChannel(const CMeasure& m, Args& args, SeriesRow* row) {
    BlockRange range;
    if (int rc = blockFromArgs(args, m, range)) return rc;
    SignalStatistics stats{};
    if (!prepareStatistics(stats, m, range))
        return reportError(EXIT_FAILED, "the block is empty; no statistics");
    if (int rc = refuseNonFinite(m, range)) return rc;
    computeStatistics(stats, STAT_ALL);
    StatisticsReport report = statisticsReport(stats, range);
    if (row)
        *row = statsRow(report);
    else if (args.has("json"))
        printJson(report);
    else
        printText(report);
    return EXIT_OK;
}

int statsOfFile(const std::string& path, Args& args, SeriesRows* rows) {
    CMeasure m;
    if (int rc = readInput(m, path, args)) return rc;
    return forEachChannel(args, rows,
                          [&](Args& a, SeriesRow* row) { return statsOfChannel(m, a, row); });
}

int runStats(Args& args) {
    static const BatchCommand& self = *findBatchCommand("stats");
    args.allowOnly(withSeriesOptions(withReadingOptions({"channel", "from", "to", "json"})));
    if (!args.error().empty()) return usageError(self, args.error());
    if (!args.has("channel") || !args.has("from") || !args.has("to"))
        return usageError(self, "stats needs --channel, --from and --to");
    return runFileSeries({self, true, {}}, args, statsOfFile);
}

BatchCommandRegistration stats{{"stats",
                                "IN... --channel C[,C...] --from A --to B [--type T] " READING_USAGE
                                " [--json] [--table OUT.csv]",
                                "signal, wave, period and frequency statistics of a block",
                                withSeriesOptions(withReadingValues({"channel", "from", "to"})),
                                runStats}};

} // namespace
