// ondarix-batch aprox: fit a level and damped sinusoids to one channel's block,
// starting from a component list, and write the result channels.
#include <cstdio>
#include <string>

#include "aprox/aprox.h"
#include "aprox/aprox_copy_text.h"
#include "batch/batch_command.h"
#include "batch/calculation_run.h"
#include "batch/component_run.h"
#include "batch/measure_input.h"
#include "measure/component_list_text.h"
#include "measure/measure_file.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("aprox");
    return command;
}

int32_t flag(Args& args, const char* name, int32_t fallback) {
    int value = args.getInt(name, fallback);
    if (value != 0 && value != 1) args.fail(std::string("--") + name + " takes 0 or 1");
    return value;
}

// The fit posts no progress of its own: show its Newton step and pass.
void aproxProgressLine(const CCalculation& result) {
    const AproxParams& p = static_cast<const CAprox&>(result).aproxParams();
    if (p.count <= 0) return;
    int32_t done = p.done.load(std::memory_order_acquire);
    std::fprintf(stderr, "\raprox: Newton step %d, pass %3d%%", p.iteration.load(),
                 int(100.0 * done / p.count));
}

const char* failureText(AproxStop stop) {
    switch (stop) {
    case AproxStop::LinearFailed:
        return "the components do not determine their amplitudes (two equal frequencies or a "
               "frequency of 0?); nothing was fitted";
    case AproxStop::Invalid:
        return "the fit refused its parameters";
    default:
        return nullptr;
    }
}

int runAproxCommand(Args& args) {
    args.allowOnly(withReadingOptions(
        {"channel", "from", "to", "components", "use-ad", "use-eta", "o", "components-out"}));
    AproxOptions options;
    options.use_ad = flag(args, "use-ad", options.use_ad);
    options.use_eta = flag(args, "use-eta", options.use_eta);
    FileType type;
    if (int rc = checkComponentRunArgs(args, self(), type)) return rc;

    CMeasure m;
    BlockRange range;
    if (int rc = readComponentRunInput(args, m, range)) return rc;
    const SignalParameters& list = m.signalParameters[range.channel];
    if (const char* why = aproxRefusal(&m, range, options)) return reportError(EXIT_FAILED, why);
    if (int rc = refuseNonFinite(m, range)) return rc;

    CAprox result(&m, range, options);
    if (!runCalculation(result, &aproxProgressLine))
        return reportError(EXIT_FAILED, "the approximation could not be started (out of memory?)");
    if (const char* why = failureText(result.aproxParams().stop))
        return reportError(EXIT_FAILED, why);
    if (result.aproxParams().stop == AproxStop::Singular)
        std::fprintf(stderr, "ondarix-batch: note: Newton's method stopped at a singular system; "
                             "the values are those of the last step that could be taken\n");
    return writeComponentRunOutputs(args, result, type, range, list, aproxCopyText(list));
}

BatchCommandRegistration aprox{
    {"aprox",
     "IN --channel C --from A --to B --components FILE|auto:K [--use-ad 0|1] [--use-eta 0|1] "
     "[--type T] " READING_USAGE " -o OUT.INT|OUT.TXT [--components-out FILE]",
     "fit a level and damped sinusoids to a block, starting from a component list "
     "(the signal-parameters \"Copy all\" text, or auto:K: the K largest peaks of the block's "
     "spectrum); prints the fit's \"Copy all\" text",
     withReadingValues(
         {"channel", "from", "to", "components", "use-ad", "use-eta", "components-out"}),
     runAproxCommand}};

} // namespace
