// ondarix-batch reflection: incident and reflected waves from two or three
// gauges in a row along the flume.
#include <cerrno>
#include <cstdlib>
#include <string>

#include "batch/batch_command.h"
#include "batch/file_series.h"
#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "batch/wave_output.h"
#include "waves/gauge_channels.h"
#include "waves/parameter_text.h"
#include "waves/reflection.h"
#include "waves/spectrum_measure.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("reflection");
    return command;
}

// "a,b,c" as numbers; false on an empty or malformed item.
bool numberList(const std::string& text, std::vector<double>& out) {
    out.clear();
    size_t at = 0;
    while (at <= text.size()) {
        size_t comma = text.find(',', at);
        std::string item = text.substr(at, comma == std::string::npos ? comma : comma - at);
        char* end = nullptr;
        errno = 0;
        double v = std::strtod(item.c_str(), &end);
        if (item.empty() || *end != '\0' || errno == ERANGE) return false;
        out.push_back(v);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    return true;
}

JsonFields jsonFields(const ReflectionResult& r) {
    return {{"df", r.df},
            {"segment", r.incident.segment},
            {"spectrum_df", r.incident.df},
            {"fmin", r.fmin},
            {"fmax", r.fmax},
            {"bins_used", r.binsUsed},
            {"bins_left_out", r.binsLeftOut},
            {"Hm0_incident", r.hm0Incident},
            {"Hm0_reflected", r.hm0Reflected},
            {"Kr", r.kr}};
}

// The gauges' blocks over --from..--to; prints the reason when they do not fit.
int gaugeBlocks(Args& args, const CMeasure& m, const std::vector<double>& channels,
                std::vector<BlockValues>& blocks) {
    std::vector<int32_t> gauges;
    for (double c : channels) {
        if (!(c >= 0 && c < MAX_CHANNELS) || c != double(int32_t(c)) || !m.hasChannel(int32_t(c)))
            return reportError(EXIT_FAILED, "channel " + parameterNumber(c) +
                                                " does not exist (the measurement has " +
                                                std::to_string(m.channelCount) + ")");
        gauges.push_back(int32_t(c));
    }
    const std::string repeated = repeatedChannelRefusal(gauges);
    if (!repeated.empty()) return reportError(EXIT_FAILED, repeated);
    BlockRange range{int32_t(channels[0]), args.getInt("from", 0),
                     args.getInt("to", m.sampleCount)};
    if (!args.error().empty()) return reportError(EXIT_USAGE, args.error());
    auto inside = [&](int32_t v) { return v >= 0 && v <= m.sampleCount; };
    if (!inside(range.from) || !inside(range.to))
        return reportError(EXIT_FAILED, "range " + std::to_string(range.from) + ".." +
                                            std::to_string(range.to) + " is outside 0.." +
                                            std::to_string(m.sampleCount));
    blocks.resize(channels.size());
    for (size_t g = 0; g < channels.size(); ++g) {
        range.channel = int32_t(channels[g]);
        if (!blockValues(m, range, blocks[g]))
            return reportError(EXIT_FAILED, "the block is empty");
    }
    return refuseNonFinite(m, gauges, range.from, range.to);
}

int reflectionOfFile(const std::string& path, Args& args, const std::vector<double>& channels,
                     const ReflectionOptions& options, SeriesRows* rows) {
    CMeasure m;
    if (int rc = readInput(m, path, args)) return rc;
    std::vector<BlockValues> blocks;
    if (int rc = gaugeBlocks(args, m, channels, blocks)) return rc;
    ReflectionResult result;
    std::string why;
    if (!separateReflection(blocks, options, result, &why)) return reportError(EXIT_FAILED, why);
    const char* unit = m.channels[int32_t(channels[0])].unit;
    const std::string out = args.get("o");
    if (!out.empty()) {
        CMeasure spectra;
        if (!reflectionMeasure(result, unit, spectra))
            return reportError(EXIT_FAILED, "out of memory for the spectra");
        if (int rc = writeSpectrumOutput(spectra, out)) return rc;
    }
    if (rows)
        rows->push_back(seriesRow(jsonFields(result)));
    else if (args.has("json"))
        printJsonObject(jsonFields(result));
    else
        printParameterLines(reflectionParameterLines(result, unit));
    return EXIT_OK;
}

int runReflection(Args& args) {
    args.allowOnly(
        withSeriesOptions(withReadingOptions({"channels", "positions", "depth", "from", "to",
                                              "segment", "fmin", "fmax", "detrend", "o", "json"})));
    ReflectionOptions options;
    options.depth = args.getDouble("depth", 0);
    options.segment = args.getInt("segment", 0);
    options.band = bandFromArgs(args);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (int rc = detrendFromArgs(args, Detrend::Linear, options.detrend)) return rc;
    if (!args.has("channels") || !args.has("positions") || !args.has("depth"))
        return usageError(self(), "reflection needs --channels, --positions and --depth");
    std::vector<double> channels;
    if (!numberList(args.get("channels"), channels))
        return usageError(self(), "--channels takes channel numbers separated by commas");
    if (!numberList(args.get("positions"), options.positions))
        return usageError(self(), "--positions takes numbers separated by commas");
    if (channels.size() != options.positions.size())
        return reportError(EXIT_FAILED, "--channels and --positions differ in count");
    const std::string out = args.get("o");
    if (args.has("o") && !spectrumOutputIsKnown(out))
        return usageError(self(), "OUT must end in .TXT or .INT");
    if (int rc = refuseOutputOverInput(out, args.positional())) return rc;

    return runFileSeries({self(), false, {"o"}}, args,
                         [&](const std::string& path, Args& a, SeriesRows* rows) {
                             return reflectionOfFile(path, a, channels, options, rows);
                         });
}

BatchCommandRegistration reflection{
    {"reflection",
     "IN... --channels C1,C2[,C3] --positions X1,X2[,X3] --depth H [--from A] [--to B] "
     "[--segment N] [--fmin F] [--fmax F] [--detrend none|mean|linear] [--type T] " READING_USAGE
     " [--json] [--table OUT.csv] [-o OUT.TXT|OUT.INT]",
     "incident and reflected spectra, Hm0 of each and Kr from two or three gauges",
     withSeriesOptions(withReadingValues({"channels", "positions", "depth", "from", "to", "segment",
                                          "fmin", "fmax", "detrend", "o"})),
     runReflection}};

} // namespace
