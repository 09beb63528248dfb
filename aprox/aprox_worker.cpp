#include "aprox/aprox_worker.h"

#include <cmath>

#include "aprox/aprox_linear_fit.h"
#include "aprox/aprox_model.h"
#include "aprox/aprox_newton.h"

namespace {

bool finite(const double* v, int32_t n) {
    for (int32_t i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

bool cancelled(const AproxParams& p) {
    return p.cancel.load(std::memory_order_acquire) != 0;
}

double rmsOf(double squares, int32_t count) {
    return count > 0 ? std::sqrt(squares / count) : 0.0;
}

// Writes the rows of `m` and remembers their RMS.
void output(AproxParams& p, const AproxModel& m) {
    p.rms = rmsOf(outputPass(p, m), p.count);
}

struct NewtonOutcome {
    AproxStop stop;
    int steps;        // steps applied to the model
    bool rowsWritten; // the result rows belong to the model as it is now
};

// The Newton iterations from `m` (whose rows the result holds when
// `rowsWritten`). A step that cannot be taken (singular system, values that
// are not finite) leaves `m` at the last good values, with their rows.
NewtonOutcome iterate(AproxParams& p, AproxModel& m, bool rowsWritten) {
    const bool damped = p.use_eta != 0;
    NewtonSystem system;
    double step[APROX_MAX_UNKNOWNS];
    NewtonOutcome out{AproxStop::None, 0, rowsWritten};
    double previousRms = 0.0;
    for (int i = 1;;) {
        if (cancelled(p)) return out.stop = AproxStop::Cancelled, out;
        p.iteration.store(i, std::memory_order_release);
        if (!newtonStep(p, m, damped, system, step)) return out.stop = AproxStop::Singular, out;
        AproxModel next = m;
        applyNewtonStep(next, damped, step);
        if (!modelFinite(next)) return out.stop = AproxStop::Singular, out;
        output(p, next);
        if (!std::isfinite(p.rms)) {
            // The carriers overflowed: restore the rows of the last good model.
            output(p, m);
            out.rowsWritten = true;
            return out.stop = AproxStop::Singular, out;
        }
        m = next;
        ++out.steps;
        out.rowsWritten = true;
        // A rise keeps the step just made, and its rows: the next run with
        // "Use A,D at start" continues from exactly what the result shows.
        if (i >= 2 && p.rms - previousRms > p.rms_rise_limit)
            return out.stop = AproxStop::RmsRise, out;
        previousRms = p.rms;
        if (largestStep(newtonOrder(m.count, damped), step) < p.step_limit)
            return out.stop = AproxStop::StepLimit, out;
        if (++i > APROX_MAX_STEPS) return out.stop = AproxStop::MaxSteps, out;
    }
}

} // namespace

bool aproxRecordUsable(const AproxParams& p) {
    const int32_t K = p.component_count;
    if (K < 0 || K > MAX_COMPONENTS || p.count < 0) return false;
    if (!(p.sample_rate > 0.0) || !std::isfinite(p.sample_rate)) return false;
    if (p.count > 0) {
        if (!p.source_samples || !p.result_samples) return false;
        if (p.stride < 1 || p.channel < 0 || p.channel >= p.stride || p.first < 0) return false;
    }
    if (!finite(p.frequency, K)) return false;
    if (p.use_eta && !finite(p.eta, K)) return false;
    if (p.use_ad && !(finite(p.a, K) && finite(p.d, K) && std::isfinite(p.level))) return false;
    return true;
}

void runAprox(AproxParams& p) {
    // `cancel` is the window's to clear before the start: clearing it here
    // would lose a cancel given while the thread was starting.
    p.done.store(0, std::memory_order_release);
    p.iteration.store(0, std::memory_order_release);
    p.stop = AproxStop::None;
    p.rms = 0.0;
    if (!aproxRecordUsable(p)) {
        p.stop = AproxStop::Invalid;
        return;
    }
    AproxModel model = modelFromParams(p);
    bool rowsWritten = false;
    if (!p.use_ad) {
        NormalEquations equations;
        if (!linearFit(p, model, equations)) {
            // Nothing can be fitted from these carriers: the record keeps its
            // values and the result shows the rest they leave.
            output(p, model);
            p.stop = AproxStop::LinearFailed;
            return;
        }
        output(p, model);
        storeAmplitudes(model, p);
        rowsWritten = true;
    }
    NewtonOutcome outcome = iterate(p, model, rowsWritten);
    p.stop = outcome.stop;
    if (!outcome.rowsWritten && outcome.stop != AproxStop::Cancelled) output(p, model);
    // Without a step the record already holds the model exactly; converting
    // back from per-sample units would only add rounding.
    if (outcome.steps > 0) storeModel(model, p);
}

int AproxWorker(WorkerParams& params) {
    AproxParams& p = static_cast<AproxParams&>(params);
    WorkerProgress progress(p);
    runAprox(p);
    progress.finish();
    return 0;
}
