// ondarix-batch calibrate: a gauge's coefficient and constant from a record
// in which it stood still at known elevations, and optionally written into
// another measurement's channel description.
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "batch/batch_command.h"
#include "batch/file_series.h"
#include "batch/measure_input.h"
#include "batch/wave_output.h"
#include "measure/gauge_calibration.h"
#include "measure/int_channel_scale.h"
#include "measure/measure_file.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("calibrate");
    return command;
}

// Numbers separated by `separators`; false on anything else.
bool numberList(const std::string& text, const char* separators, std::vector<double>& out) {
    out.clear();
    size_t start = 0;
    for (;;) {
        const size_t end = text.find_first_of(separators, start);
        const std::string word = text.substr(start, end == std::string::npos ? end : end - start);
        char* stop = nullptr;
        errno = 0;
        const double v = std::strtod(word.c_str(), &stop);
        if (word.empty() || *stop != '\0' || errno == ERANGE) return false;
        out.push_back(v);
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

void printCalibration(const GaugeCalibration& c, const CalibrationOptions& options, double rate,
                      bool json, SeriesRow* row) {
    if (!json && !row) return printParameterLines(calibrationLines(c, options.levels));
    JsonArrays arrays{{"levels", options.levels},
                      {"raw", {}},
                      {"residuals", c.residuals},
                      {"from", {}},
                      {"to", {}}};
    for (const SteadyStretch& s : c.stretches) {
        arrays[1].second.push_back(s.mean);
        arrays[3].second.push_back(s.from / rate);
        arrays[4].second.push_back(s.to / rate);
    }
    const JsonFields fields{{"coefficient", c.coefficient},
                            {"constant", c.constant},
                            {"r2", c.r2},
                            {"largest residual", c.largestResidual}};
    if (row)
        *row = seriesRow(fields, arrays);
    else
        printJsonObject(fields, arrays);
}

int calibrateChannel(const CMeasure& m, const std::string& path, Args& args,
                     const CalibrationOptions& options, SeriesRow* row) {
    BlockRange range;
    if (int rc = blockFromArgs(args, m, range)) return rc;
    if (int rc = refuseNonFinite(m, range)) return rc;
    FileType type = fileTypeFromPath(path);
    if (args.has("type")) fileTypeFromName(args.get("type"), type);
    std::vector<double> raw;
    std::string why;
    if (!rawChannelValues(m, range.channel, path, type, raw, &why))
        return reportError(EXIT_FAILED, why);
    GaugeCalibration c;
    if (!calibrateGauge(raw, m.sampleRate, options, c, &why)) return reportError(EXIT_FAILED, why);
    // One gauge's record may calibrate any gauge of a run: the channel of the
    // target defaults to the record's.
    const int toChannel = args.getInt("to-channel", -1);
    const int targetChannel = toChannel >= 0 ? toChannel : range.channel;
    const std::string target = args.get("apply");
    if (!target.empty() &&
        !writeIntChannelScale(target, targetChannel, c.coefficient, c.constant, &why))
        return reportError(EXIT_FAILED, why);
    printCalibration(c, options, m.sampleRate, args.has("json"), row);
    return EXIT_OK;
}

int runCalibrate(Args& args) {
    args.allowOnly(withSeriesOptions(withReadingOptions(
        {"channel", "levels", "windows", "force", "apply", "to-channel", "json"})));
    if (!args.error().empty()) return usageError(self(), args.error());
    if (args.positional().empty()) return usageError(self(), "calibrate takes an input file");
    if (!args.has("channel") || !args.has("levels"))
        return usageError(self(), "calibrate needs --channel and --levels");
    CalibrationOptions options;
    options.force = args.has("force");
    if (!numberList(args.get("levels"), ",", options.levels))
        return usageError(self(), "--levels takes numbers separated by commas");
    if (args.has("windows") && !numberList(args.get("windows"), ",:", options.windows))
        return usageError(self(), "--windows takes a:b pairs of seconds separated by commas");
    const std::string target = args.get("apply");
    const int toChannel = args.getInt("to-channel", -1);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (args.has("to-channel") && !args.has("apply"))
        return usageError(self(), "--to-channel names a channel of the --apply file");
    if (args.has("to-channel") && toChannel < 0)
        return usageError(self(), "--to-channel takes a channel number from 0");
    if (args.has("apply") && !calibrationTargetRefusal(target).empty())
        return reportError(EXIT_FAILED, calibrationTargetRefusal(target));
    return runFileSeries({self(), true, {"apply"}}, args,
                         [&](const std::string& path, Args& a, SeriesRows* rows) {
                             CMeasure m;
                             if (int rc = readInput(m, path, a)) return rc;
                             return forEachChannel(a, rows, [&](Args& one, SeriesRow* row) {
                                 return calibrateChannel(m, path, one, options, row);
                             });
                         });
}

BatchCommandRegistration calibrate{
    {"calibrate",
     "IN... --channel C[,C...] --levels L1,L2,... [--windows A:B,...] [--force] [--apply "
     "TARGET.INT "
     "[--to-channel "
     "C]] [--type T] " READING_USAGE " [--json] [--table OUT.csv]",
     "a gauge's coefficient and constant from a record of it held at known levels",
     withSeriesOptions(withReadingValues({"channel", "levels", "windows", "apply", "to-channel"})),
     runCalibrate}};

} // namespace
