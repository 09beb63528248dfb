#include "batch/file_series.h"

#include <algorithm>
#include <cstdio>
#include <glob.h>
#include <mutex>
#include <sys/stat.h>

#include "batch/channel_selection.h"
#include "batch/same_file.h"
#include "batch/standard_output.h"
#include "measure/atomic_file.h"
#include "measure/file_type_table.h"
#include "measure/measure_file.h"
#include "numeric/every_core.h"

namespace {

// A file to analyse, or a pattern that named none.
struct SeriesInput {
    std::string path;
    std::string error;
};

// A word with a wildcard, unless a file has that very name ("run[1].INT").
bool isPattern(const std::string& word) {
    struct stat status;
    return word.find_first_of("*?[") != std::string::npos && stat(word.c_str(), &status) != 0;
}

std::vector<SeriesInput> expandInputs(const std::vector<std::string>& words) {
    std::vector<SeriesInput> inputs;
    for (const std::string& word : words) {
        if (!isPattern(word)) {
            inputs.push_back({word, ""});
            continue;
        }
        glob_t found{};
        const int rc = glob(word.c_str(), 0, nullptr, &found);
        if (rc == 0)
            for (size_t i = 0; i < found.gl_pathc; ++i)
                inputs.push_back({found.gl_pathv[i], ""});
        else
            inputs.push_back({word, word + ": no file matches"});
        globfree(&found);
    }
    return inputs;
}

int channelCount(const FileSeries& series, const Args& args) {
    if (!series.channelList || !args.has("channel")) return 1;
    std::vector<int32_t> channels;
    return parseChannelList(args.get("channel"), channels) ? int(channels.size()) : 1;
}

SeriesRows analyseInput(const SeriesInput& input, Args args, const FileAnalysis& analyse) {
    SeriesRows rows;
    std::string error = input.error;
    if (error.empty()) {
        ErrorCapture capture;
        if (analyse(input.path, args, &rows) != EXIT_OK) {
            error = capture.message().empty() ? input.path + ": could not be analysed"
                                              : capture.message();
            rows.clear();
        }
    }
    if (!error.empty()) {
        rows.push_back({});
        rows.back().error = error;
    }
    for (SeriesRow& row : rows)
        row.file = input.path;
    return rows;
}

// Each worker holds one record at a time; a terminal is told "name: 12 of
// 50 files" on one line, rewritten as files finish.
std::vector<SeriesRows> analyseOnEveryCore(const std::vector<SeriesInput>& inputs, const Args& args,
                                           const FileAnalysis& analyse, const char* name) {
    std::vector<SeriesRows> results(inputs.size());
    const bool progress = progressWanted();
    std::mutex lock;
    size_t done = 0;
    onEveryCore(inputs.size(), [&](size_t i) {
        results[i] = analyseInput(inputs[i], args, analyse);
        if (!progress) return;
        std::lock_guard<std::mutex> hold(lock);
        std::fprintf(stderr, "\rondarix-batch: %s: %zu of %zu files", name, ++done, inputs.size());
        std::fflush(stderr);
    });
    if (progress) std::fprintf(stderr, "\n");
    return results;
}

// The table where it was asked for; EXIT_OK, or the failure to write it.
int writeTable(const SeriesRows& rows, bool channels, const Args& args) {
    if (args.has("json")) printText(seriesJson(rows, channels));
    const std::string csv = seriesCsv(rows, channels);
    if (!args.has("table")) {
        if (!args.has("json")) printText(csv);
        return EXIT_OK;
    }
    std::string why;
    if (!replaceFile(args.get("table"), csv, &why))
        return reportError(EXIT_FAILED, args.get("table") + ": could not be written: " + why);
    return EXIT_OK;
}

int countFailures(const SeriesRows& rows) {
    return int(std::count_if(rows.begin(), rows.end(),
                             [](const SeriesRow& r) { return !r.error.empty(); }));
}

} // namespace

std::vector<std::string> withSeriesOptions(std::vector<std::string> own) {
    own.push_back("table");
    return own;
}

int runFileSeries(const FileSeries& series, Args& args, const FileAnalysis& analyse) {
    const BatchCommand& command = series.command;
    if (args.positional().empty())
        return usageError(command, std::string(command.name) + " takes one or more input files");
    if (args.has("table") && args.get("table").empty())
        return usageError(command, "--table needs a file name");
    FileType type;
    if (args.has("type") && !fileTypeFromName(args.get("type"), type))
        return reportError(EXIT_USAGE, "unknown --type '" + args.get("type") + "' (" +
                                           fileTypeNameList(false) + ")");
    const std::vector<SeriesInput> inputs = expandInputs(args.positional());
    const bool table = inputs.size() > 1 || args.has("table") || channelCount(series, args) > 1;
    if (!table) {
        if (!inputs[0].error.empty()) return reportError(EXIT_FAILED, inputs[0].error);
        return analyse(inputs[0].path, args, nullptr);
    }
    std::vector<int32_t> channels;
    if (series.channelList && args.has("channel") &&
        !parseChannelList(args.get("channel"), channels))
        return usageError(command, "--channel takes a channel number or several separated by "
                                   "commas, not '" +
                                       args.get("channel") + "'");
    // Numbers that every file's analysis reads: refused once, not in each row.
    args.getInt("from", 0);
    args.getInt("to", 0);
    args.getDouble("rate", 0);
    if (!args.error().empty()) return usageError(command, args.error());
    for (const std::string& option : series.singleOutputs)
        if (args.has(option))
            return usageError(command, (option == "o" ? "-o" : "--" + option) +
                                           " writes one file: give one input file and channel");
    std::vector<std::string> paths;
    for (const SeriesInput& input : inputs)
        paths.push_back(input.path);
    if (int rc = refuseOutputOverInput(args.get("table"), paths)) return rc;

    SeriesRows rows;
    for (SeriesRows& fileRows : analyseOnEveryCore(inputs, args, analyse, command.name))
        for (SeriesRow& row : fileRows)
            rows.push_back(std::move(row));
    if (int rc = writeTable(rows, series.channelList, args)) return rc;
    const int failed = countFailures(rows);
    if (failed == 0) return EXIT_OK;
    return reportError(EXIT_FAILED, std::to_string(failed) + " of " + std::to_string(rows.size()) +
                                        " rows failed; their error column says why");
}

int forEachChannel(Args& args, SeriesRows* rows,
                   const std::function<int(Args& args, SeriesRow* row)>& one) {
    if (!rows) return one(args, nullptr);
    std::vector<int32_t> channels{0};
    if (args.has("channel")) parseChannelList(args.get("channel"), channels);
    for (int32_t channel : channels) {
        Args own = args;
        own.set("channel", std::to_string(channel));
        SeriesRow row;
        ErrorCapture capture;
        if (one(own, &row) != EXIT_OK) {
            row = SeriesRow{};
            row.error = capture.message().empty() ? "could not be analysed" : capture.message();
        }
        row.channel = channel;
        rows->push_back(std::move(row));
    }
    return EXIT_OK;
}
