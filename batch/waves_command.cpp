// ondarix-batch waves: wave-by-wave statistics of one channel's block.
#include <string>

#include "batch/batch_command.h"
#include "batch/file_series.h"
#include "batch/measure_input.h"
#include "batch/same_file.h"
#include "batch/wave_output.h"
#include "waves/wave_by_wave.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("waves");
    return command;
}

JsonFields jsonFields(const WaveStatistics& s) {
    const HeightDistribution& d = s.heights;
    JsonFields fields{{"count", s.count},   {"mean", s.mean},
                      {"Hmax", s.hMax},     {"THmax", s.tHMax},
                      {"H1/3", s.h13},      {"T1/3", s.t13},
                      {"H1/10", s.h110},    {"T1/10", s.t110},
                      {"Hmean", s.hMean},   {"Hrms", s.hRms},
                      {"Tz", s.tz},         {"Tmax", s.tMax},
                      {"Hm0", d.hm0},       {"H2%", d.h2Percent},
                      {"H1%", d.h1Percent}, {"Hmax/Hm0", d.hMaxOverHm0}};
    if (!d.shallow) return fields;
    const ShallowWaterHeights& p = d.predicted;
    JsonFields predicted{{"BG Htr", p.htr},
                         {"BG Hrms", p.hrms},
                         {"BG Htr/Hrms", p.normalised.htrNorm},
                         {"BG H1/Hrms", p.normalised.h1Norm},
                         {"BG H2/Hrms", p.normalised.h2Norm},
                         {"BG H1/3", p.h13},
                         {"BG H1/10", p.h110},
                         {"BG H2%", p.h2Percent},
                         {"BG H1%", p.h1Percent}};
    fields.insert(fields.end(), predicted.begin(), predicted.end());
    return fields;
}

// The exceedance plot's points, highest wave first.
JsonArrays jsonArrays(const HeightDistribution& d) {
    JsonArrays arrays{
        {"exceedance H", {}}, {"exceedance measured", {}}, {"exceedance Rayleigh", {}}};
    if (d.shallow) arrays.push_back({"exceedance Weibull", {}});
    for (const ExceedancePoint& p : d.points) {
        arrays[0].second.push_back(p.height);
        arrays[1].second.push_back(p.measured);
        arrays[2].second.push_back(p.rayleigh);
        if (d.shallow) arrays[3].second.push_back(p.weibull);
    }
    return arrays;
}

int wavesOfChannel(const CMeasure& m, Args& args, const WaveOptions& options, SeriesRow* row) {
    BlockRange range;
    if (int rc = blockFromArgs(args, m, range)) return rc;
    BlockValues block;
    if (!blockValues(m, range, block)) return reportError(EXIT_FAILED, "the block is empty");
    if (int rc = refuseNonFinite(m, range)) return rc;
    WaveStatistics stats;
    std::string why;
    if (!analyseWaves(block, options, stats, &why)) return reportError(EXIT_FAILED, why);
    const std::string listOut = args.get("waves-out");
    if (!listOut.empty())
        if (int rc = writeTextLines(waveListLines(stats), listOut)) return rc;
    const std::vector<std::string> warnings = noiseWarningTexts(waveNoiseWarnings(stats));
    if (row)
        *row = seriesRow(jsonFields(stats), jsonArrays(stats.heights), &warnings);
    else if (args.has("json"))
        printJsonObject(jsonFields(stats), jsonArrays(stats.heights), &warnings);
    else
        printParameterLines(
            withWarningLines(waveParameterLines(stats, m.channels[range.channel].unit), warnings));
    return EXIT_OK;
}

int runWaves(Args& args) {
    args.allowOnly(
        withSeriesOptions(withReadingOptions({"channel", "from", "to", "up", "threshold", "detrend",
                                              "waves-out", "depth", "slope", "json"})));
    WaveOptions options;
    waveOptionsFromArgs(args, options);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (args.has("depth") != args.has("slope"))
        return usageError(self(), "--depth and --slope go together");
    if (int rc = detrendFromArgs(args, Detrend::Mean, options.detrend)) return rc;
    const std::string listOut = args.get("waves-out");
    if (args.has("waves-out") && listOut.empty())
        return usageError(self(), "--waves-out needs a file name");
    if (int rc = refuseOutputOverInput(listOut, args.positional())) return rc;
    return runFileSeries({self(), true, {"waves-out"}}, args,
                         [&](const std::string& path, Args& a, SeriesRows* rows) {
                             CMeasure m;
                             if (int rc = readInput(m, path, a)) return rc;
                             return forEachChannel(a, rows, [&](Args& one, SeriesRow* row) {
                                 return wavesOfChannel(m, one, options, row);
                             });
                         });
}

BatchCommandRegistration waves{
    {"waves",
     "IN... [--channel C[,C...]] [--from A] [--to B] [--up] [--threshold H] [--detrend "
     "none|mean|linear] "
     "[--depth D --slope TANA] [--waves-out FILE.TXT] [--type T] " READING_USAGE
     " [--json] [--table OUT.csv]",
     "wave-by-wave statistics (Hmax, H1/3, H2%, Tz, ...) from zero crossings",
     withSeriesOptions(withReadingValues(
         {"channel", "from", "to", "threshold", "detrend", "waves-out", "depth", "slope"})),
     runWaves}};

} // namespace
