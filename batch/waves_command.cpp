// ondarix-batch waves: wave-by-wave statistics of one channel's block.
#include <string>

#include "batch/batch_command.h"
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
    return {{"count", s.count}, {"mean", s.mean}, {"Hmax", s.hMax},  {"THmax", s.tHMax},
            {"H1/3", s.h13},    {"T1/3", s.t13},  {"H1/10", s.h110}, {"T1/10", s.t110},
            {"Hmean", s.hMean}, {"Hrms", s.hRms}, {"Tz", s.tz},      {"Tmax", s.tMax}};
}

int runWaves(Args& args) {
    args.allowOnly({"type", "partial", "rate", "variable", "channel", "from", "to", "up",
                    "threshold", "waves-out", "json"});
    WaveOptions options;
    options.upCrossing = args.has("up");
    options.threshold = args.getDouble("threshold", 0);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (args.positional().size() != 1) return usageError(self(), "waves takes one input file");
    const std::string listOut = args.get("waves-out");
    if (args.has("waves-out") && listOut.empty())
        return usageError(self(), "--waves-out needs a file name");
    if (int rc = refuseOutputOverInput(listOut, args.positional())) return rc;

    CMeasure m;
    if (int rc = readInput(m, args.positional()[0], args)) return rc;
    BlockRange range;
    if (int rc = blockFromArgs(args, m, range)) return rc;
    BlockValues block;
    if (!blockValues(m, range, block)) return reportError(EXIT_FAILED, "the block is empty");
    if (int rc = refuseNonFinite(m, range)) return rc;
    WaveStatistics stats;
    std::string why;
    if (!analyseWaves(block, options, stats, &why)) return reportError(EXIT_FAILED, why);
    if (!listOut.empty())
        if (int rc = writeTextLines(waveListLines(stats), listOut)) return rc;
    if (args.has("json"))
        printJsonObject(jsonFields(stats));
    else
        printParameterLines(waveParameterLines(stats, m.channels[range.channel].unit));
    return EXIT_OK;
}

BatchCommandRegistration waves{
    {"waves",
     "IN [--channel C] [--from A] [--to B] [--up] [--threshold H] [--waves-out FILE.TXT] "
     "[--type T] [--partial] [--rate HZ] [--variable NAME] [--json]",
     "wave-by-wave statistics (Hmax, H1/3, H1/10, Hrms, Tz, ...) from zero crossings",
     {"type", "rate", "variable", "channel", "from", "to", "threshold", "waves-out"},
     runWaves}};

} // namespace
