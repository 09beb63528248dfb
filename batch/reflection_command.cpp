// ondarix-batch reflection: incident and reflected waves from 2 to 16 gauges
// in a row along the flume: their spectra, their time series, the harmonics
// of a regular wave, or a layout of gauges for a band.
#include <cerrno>
#include <cstdlib>
#include <string>

#include "batch/batch_command.h"
#include "batch/file_series.h"
#include "batch/measure_input.h"
#include "batch/number_list.h"
#include "batch/same_file.h"
#include "batch/wave_output.h"
#include "measure/measure_file.h"
#include "waves/gauge_channels.h"
#include "waves/gauge_plan.h"
#include "waves/parameter_text.h"
#include "waves/reflection.h"
#include "waves/reflection_series.h"
#include "waves/reflection_system.h"
#include "waves/reflection_table.h"
#include "waves/regular_reflection.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("reflection");
    return command;
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

JsonArrays leftOutArrays(const ReflectionResult& r) {
    JsonArrays arrays = {{"left_out_from", {}}, {"left_out_to", {}}};
    for (const FrequencyRange& range : r.leftOut) {
        arrays[0].second.push_back(range.from);
        arrays[1].second.push_back(range.to);
    }
    return arrays;
}

void addWave(JsonFields& fields, const std::string& name, const HarmonicWave& w, bool known) {
    fields.push_back({"a_" + name, known ? w.amplitude : NAN});
    fields.push_back({"phase_" + name, known ? w.phase : NAN});
}

JsonFields regularFields(const RegularReflectionResult& r) {
    JsonFields fields = {{"frequency", r.frequency}, {"line_share", r.lineShare}};
    addWave(fields, "incident", r.incident, true);
    addWave(fields, "reflected", r.reflected, true);
    fields.push_back({"Kr", r.kr});
    const bool second = r.secondHarmonic;
    addWave(fields, "bound_incident", r.boundIncident, second);
    addWave(fields, "bound_reflected", r.boundReflected, second);
    addWave(fields, "free_incident", r.freeIncident, second);
    addWave(fields, "free_reflected", r.freeReflected, second);
    fields.push_back({"condition_2f", second ? r.secondCondition : NAN});
    return fields;
}

int runPlan(Args& args) {
    GaugePlanRequest request;
    request.depth = args.getDouble("depth", 0);
    request.fmin = args.getDouble("fmin", 0);
    request.fmax = args.getDouble("fmax", 0);
    request.gauges = args.getInt("gauges", 0);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (!args.positional().empty()) return usageError(self(), "--plan takes no input file");
    for (const char* needed : {"depth", "fmin", "fmax", "gauges"})
        if (!args.has(needed))
            return usageError(self(), "--plan needs --depth, --fmin, --fmax and --gauges");
    GaugePlan plan;
    std::string why;
    if (!planGauges(request, plan, &why)) return reportError(EXIT_FAILED, why);
    if (!args.has("json")) {
        printParameterLines(gaugePlanLines(plan));
        return EXIT_OK;
    }
    const double c = plan.worstCoherence;
    printJsonObject({{"gauges", double(request.gauges)},
                     {"max_coherence", MAX_REFLECTION_COHERENCE},
                     {"worst_coherence", c},
                     {"worst_condition", (1 + c) / (1 - c)},
                     {"worst_frequency", plan.worstFrequency},
                     {"L_fmin", plan.lengthAtFmin},
                     {"L_fmax", plan.lengthAtFmax}},
                    {{"positions", plan.positions}});
    return EXIT_OK;
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

// What a run asks of every file.
struct ReflectionRun {
    std::vector<double> channels;
    ReflectionOptions options;
    bool regular = false, series = false;
    double at = 0; // m, where the series are wanted
    std::string out;
    FileType seriesType{};
};

int regularOfFile(Args& args, const CMeasure& m, const ReflectionRun& run, SeriesRows* rows) {
    std::vector<BlockValues> blocks;
    if (int rc = gaugeBlocks(args, m, run.channels, blocks)) return rc;
    RegularReflectionOptions regular;
    regular.positions = run.options.positions;
    regular.depth = run.options.depth;
    regular.detrend = run.options.detrend;
    RegularReflectionResult result;
    std::string why;
    if (!separateRegularReflection(blocks, regular, result, &why))
        return reportError(EXIT_FAILED, why);
    if (rows)
        rows->push_back(seriesRow(regularFields(result)));
    else if (args.has("json"))
        printJsonObject(regularFields(result));
    else
        printParameterLines(
            regularReflectionLines(result, m.channels[int32_t(run.channels[0])].unit));
    return EXIT_OK;
}

int writeSeries(const std::vector<BlockValues>& blocks, const ReflectionRun& run,
                const char* unit) {
    ReflectionSeries series;
    std::string why;
    if (!reflectionSeries(blocks, run.options, run.at, series, &why))
        return reportError(EXIT_FAILED, why);
    CMeasure m;
    if (!reflectionSeriesMeasure(series, unit, m))
        return reportError(EXIT_FAILED, "out of memory for the series");
    if (!writeMeasure(m, run.out, run.seriesType, &why))
        return reportError(EXIT_FAILED, run.out + ": could not be written: " + why);
    return EXIT_OK;
}

int reflectionOfFile(const std::string& path, Args& args, const ReflectionRun& run,
                     SeriesRows* rows) {
    CMeasure m;
    if (int rc = readInput(m, path, args)) return rc;
    if (run.regular) return regularOfFile(args, m, run, rows);
    std::vector<BlockValues> blocks;
    if (int rc = gaugeBlocks(args, m, run.channels, blocks)) return rc;
    ReflectionResult result;
    std::string why;
    if (!separateReflection(blocks, run.options, result, &why))
        return reportError(EXIT_FAILED, why);
    const char* unit = m.channels[int32_t(run.channels[0])].unit;
    if (run.series) {
        if (int rc = writeSeries(blocks, run, unit)) return rc;
    } else if (!run.out.empty()) {
        CMeasure spectra;
        if (!reflectionTableMeasure(result, unit, spectra))
            return reportError(EXIT_FAILED, "out of memory for the spectra");
        if (int rc = writeSpectrumOutput(spectra, run.out)) return rc;
    }
    if (rows) {
        rows->push_back(seriesRow(jsonFields(result), leftOutArrays(result)));
    } else if (args.has("json")) {
        printJsonObject(jsonFields(result), leftOutArrays(result));
    } else {
        std::vector<std::string> lines = reflectionParameterLines(result, unit);
        lines.push_back("Left out (Hz)\t" + leftOutText(result.leftOut));
        printParameterLines(lines);
    }
    return EXIT_OK;
}

int runReflection(Args& args) {
    args.allowOnly(withSeriesOptions(withReadingOptions(
        {"channels", "positions", "depth", "from", "to", "segment", "fmin", "fmax", "detrend", "o",
         "json", "plan", "gauges", "series", "at", "regular"})));
    if (args.has("plan")) return runPlan(args);
    if (args.has("gauges")) return usageError(self(), "--gauges goes with --plan");
    ReflectionRun run;
    ReflectionOptions& options = run.options;
    options.depth = args.getDouble("depth", 0);
    options.segment = args.getInt("segment", 0);
    options.band = bandFromArgs(args);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (int rc = detrendFromArgs(args, Detrend::Linear, options.detrend)) return rc;
    if (!args.has("channels") || !args.has("positions") || !args.has("depth"))
        return usageError(self(), "reflection needs --channels, --positions and --depth");
    if (!numberList(args.get("channels"), run.channels))
        return usageError(self(), "--channels takes channel numbers separated by commas");
    if (!numberList(args.get("positions"), options.positions))
        return usageError(self(), "--positions takes numbers separated by commas");
    if (run.channels.size() != options.positions.size())
        return reportError(EXIT_FAILED, "--channels and --positions differ in count");
    run.series = args.has("series");
    run.regular = args.has("regular");
    if (run.regular && (run.series || args.has("o")))
        return usageError(self(), "--regular writes no file (no --series, no -o)");
    if (args.has("at") && !run.series) return usageError(self(), "--at goes with --series");
    run.at = args.getDouble("at", options.positions[0]);
    if (!args.error().empty()) return usageError(self(), args.error());
    run.out = args.get("o");
    if (run.series && !args.has("o")) return usageError(self(), "--series needs -o OUT");
    if (run.series && !writableTypeOfPath(run.out, run.seriesType))
        return usageError(self(), "OUT must end in the extension of a type that can be written");
    if (!run.series && args.has("o") && !spectrumOutputIsKnown(run.out))
        return usageError(self(), "OUT must end in .TXT or .INT");
    if (int rc = refuseOutputOverInput(run.out, args.positional())) return rc;

    return runFileSeries({self(), false, {"o"}}, args,
                         [&](const std::string& path, Args& a, SeriesRows* rows) {
                             return reflectionOfFile(path, a, run, rows);
                         });
}

BatchCommandRegistration reflection{
    {"reflection",
     "IN... --channels C1,C2[,...,C16] --positions X1,X2[,...] --depth H [--from A] [--to B] "
     "[--segment N] [--fmin F] [--fmax F] [--detrend none|mean|linear] [--type T] " READING_USAGE
     " [--json] [--table OUT.csv] [-o OUT.TXT|OUT.INT | --series [--at X] -o OUT | --regular]; "
     "or --plan --depth H --fmin F --fmax F --gauges N [--json]",
     "incident and reflected spectra, Hm0 of each and Kr from 2 to 16 gauges; their time series "
     "(--series); the harmonics of a regular wave (--regular); gauge positions for a band (--plan)",
     withSeriesOptions(withReadingValues({"channels", "positions", "depth", "from", "to", "segment",
                                          "fmin", "fmax", "detrend", "o", "gauges", "at"})),
     runReflection}};

} // namespace
