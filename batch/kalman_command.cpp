// ondarix-batch kalman: split one channel's block into the components of a
// component list with the Kalman filter, and write the result channels.
#include <cmath>
#include <cstdio>
#include <string>

#include "batch/batch_command.h"
#include "batch/calculation_run.h"
#include "batch/component_run.h"
#include "batch/measure_input.h"
#include "kalman/kalman.h"
#include "kalman/kalman_copy_text.h"
#include "measure/component_list_text.h"
#include "measure/measure_file.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("kalman");
    return command;
}

int32_t wholeOption(Args& args, const char* name, int32_t fallback, int32_t lo, int32_t hi) {
    int value = args.getInt(name, fallback);
    if (value < lo || value > hi)
        args.fail(std::string("--") + name + " takes " + std::to_string(lo) + " to " +
                  std::to_string(hi));
    return value;
}

double numberOption(Args& args, const char* name, double fallback) {
    double value = args.getDouble(name, fallback);
    if (!std::isfinite(value) || value < 0.0)
        args.fail(std::string("--") + name + " takes a number of at least 0");
    return value;
}

// Unset options keep the built-in defaults of KalmanOptions; the stored
// settings are never read, so scripts are reproducible.
KalmanOptions optionsFromArgs(Args& args) {
    KalmanOptions o;
    o.model = wholeOption(args, "model", o.model, 0, 3);
    o.observation_error = numberOption(args, "observation-error", o.observation_error);
    o.estimate_error = wholeOption(args, "estimate-error", o.estimate_error, 0, 1);
    o.use_damp = wholeOption(args, "use-damp", o.use_damp, 0, 1);
    o.constant_period = numberOption(args, "constant-period", o.constant_period);
    o.asymptotic = numberOption(args, "asymptotic", o.asymptotic);
    return o;
}

int runKalmanCommand(Args& args) {
    args.allowOnly(withReadingOptions({"channel", "from", "to", "components", "model",
                                       "observation-error", "estimate-error", "use-damp",
                                       "constant-period", "asymptotic", "o", "components-out"}));
    KalmanOptions options = optionsFromArgs(args);
    FileType type;
    if (int rc = checkComponentRunArgs(args, self(), type)) return rc;

    CMeasure m;
    BlockRange range;
    if (int rc = readComponentRunInput(args, m, range)) return rc;
    // A file of no samples could not be read back; say so instead of writing one.
    if (range.from == range.to) return reportError(EXIT_FAILED, "the range is empty");
    const SignalParameters& list = m.signalParameters[range.channel];

    CKalman result(&m, range, options);
    if (const char* why = result.RunProblem()) return reportError(EXIT_FAILED, why);
    if (int rc = refuseNonFinite(m, range)) return rc;
    if (!runCalculation(result, "kalman"))
        return reportError(EXIT_FAILED, "the filter could not be started (out of memory?)");
    return writeComponentRunOutputs(args, result, type, range, list,
                                    kalmanCopyAllText(range, list, result.options));
}

BatchCommandRegistration kalman{
    {"kalman",
     "IN --channel C --from A --to B --components FILE|auto:K [--model 0..3] "
     "[--observation-error P] [--estimate-error 0|1] [--use-damp 0|1] [--constant-period S] "
     "[--asymptotic V] [--type T] " READING_USAGE " -o OUT.INT|OUT.TXT [--components-out FILE]",
     "split a block into the waves of a component list (the signal-parameters \"Copy all\" "
     "text, or auto:K: the K largest peaks of the block's spectrum) with the Kalman filter; prints "
     "the run's \"Copy all\" text with the estimates",
     withReadingValues({"channel", "from", "to", "components", "model", "observation-error",
                        "estimate-error", "use-damp", "constant-period", "asymptotic",
                        "components-out"}),
     runKalmanCommand}};

} // namespace
