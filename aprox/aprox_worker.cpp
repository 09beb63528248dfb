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

// The Newton iterations from a model whose rows the result may already hold.
// A step that cannot be taken (singular system, values that are not finite)
// leaves the model at the last good values, with their rows.
class NewtonRun {
  public:
    NewtonRun(AproxParams& p, AproxModel& m, bool rowsWritten)
        : rowsWritten(rowsWritten), p_(p), m_(m), damped_(p.use_eta != 0) {}

    AproxStop iterate() {
        for (int i = 1;; ++i) {
            AproxStop stop = iteration(i);
            if (stop != AproxStop::None) return stop;
        }
    }

    int steps = 0;    // steps applied to the model
    bool rowsWritten; // the result rows belong to the model as it is now

  private:
    // Iteration i; None to go on.
    AproxStop iteration(int i) {
        if (cancelled(p_)) return AproxStop::Cancelled;
        p_.iteration.store(i, std::memory_order_release);
        if (!newtonStep(p_, m_, damped_, system_, step_)) return AproxStop::Singular;
        AproxModel next = m_;
        applyNewtonStep(next, damped_, step_);
        if (!modelFinite(next)) return AproxStop::Singular;
        output(p_, next);
        rowsWritten = true;
        if (!std::isfinite(p_.rms)) {
            // The carriers overflowed: back to the rows of the last good model.
            output(p_, m_);
            return AproxStop::Singular;
        }
        m_ = next;
        ++steps;
        // A rise keeps the step just made, and its rows: the next run with
        // "Use A,D at start" continues from exactly what the result shows.
        if (i >= 2 && p_.rms - previousRms_ > p_.rms_rise_limit) return AproxStop::RmsRise;
        previousRms_ = p_.rms;
        if (largestStep(newtonOrder(m_.count, damped_), step_) < p_.step_limit)
            return AproxStop::StepLimit;
        if (i + 1 > APROX_MAX_STEPS) return AproxStop::MaxSteps;
        return AproxStop::None;
    }

    AproxParams& p_;
    AproxModel& m_;
    const bool damped_;
    double previousRms_ = 0.0;
    NewtonSystem system_;
    double step_[APROX_MAX_UNKNOWNS];
};

} // namespace

bool aproxRecordUsable(const AproxParams& p) {
    const int32_t K = p.component_count;
    if (K < 0 || K > MAX_COMPONENTS || p.count < 0) return false;
    if (!(p.sample_rate > 0.0) || !std::isfinite(p.sample_rate)) return false;
    if (p.count > 0) {
        if (!p.source || !p.result_samples) return false;
        if (p.source.stride < 1 || p.channel < 0 || p.first < 0) return false;
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
            // values and the result shows the rest they leave (none when those
            // unused values are not even numbers).
            if (modelFinite(model)) output(p, model);
            p.stop = AproxStop::LinearFailed;
            return;
        }
        output(p, model);
        storeAmplitudes(model, p);
        rowsWritten = true;
    }
    NewtonRun newton(p, model, rowsWritten);
    p.stop = newton.iterate();
    if (!newton.rowsWritten && p.stop != AproxStop::Cancelled) output(p, model);
    // Without a step the record already holds the model exactly; converting
    // back from per-sample units would only add rounding.
    if (newton.steps > 0) storeModel(model, p);
}

int AproxWorker(WorkerParams& params) {
    AproxParams& p = static_cast<AproxParams&>(params);
    WorkerProgress progress(p);
    runAprox(p);
    progress.finish();
    return 0;
}
