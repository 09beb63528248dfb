#include "kalman/kalman_run.h"

#include <cmath>
#include <memory>
#include <new>

#include "kalman/kalman_dense_filter.h"
#include "kalman/kalman_filter.h"

namespace {

// Samples between two publications of `done`; the clock behind the progress
// throttle is read no more often than that.
constexpr int32_t PUBLISH_EVERY = 64;

bool runnable(const KalmanParams& p) {
    if (kalmanInputProblem(p) || p.count < 0) return false;
    if (p.count == 0) return true;
    return p.source && p.result_samples && p.channel >= 0 && p.first >= 0;
}

std::unique_ptr<KalmanStepper> makeStepper(const KalmanModel& model, const KalmanParams& p,
                                           KalmanFilterKind kind) {
    if (kind == KalmanFilterKind::Dense) {
        std::unique_ptr<KalmanDenseFilter> f(new (std::nothrow)
                                                 KalmanDenseFilter(model, p.asymptotic));
        if (!f || !f->valid()) return nullptr;
        return f;
    }
    std::unique_ptr<KalmanBlockFilter> f(new (std::nothrow) KalmanBlockFilter(model, p.asymptotic));
    if (!f || !f->valid()) return nullptr;
    return f;
}

Sample toSample(double re, double im) {
    return Sample{float(re), float(im)};
}

// The loop proper; returns the number of samples processed.
int32_t filterSamples(KalmanParams& p, const KalmanModel& model, KalmanStepper& stepper,
                      WorkerProgress& progress, double* E, double& SS) {
    const int32_t n = model.n;
    const int64_t outStride = 2 * n + 1;
    const int32_t dir = p.direction < 0 ? -1 : 1;
    int64_t srcRow = dir > 0 ? p.first : int64_t(p.first) + p.count - 1;
    int64_t outRow = dir > 0 ? 0 : p.count - 1;
    ComponentOutput out[MAX_COMPONENTS];
    int32_t done = 0;
    while (done < p.count && !progress.cancelled()) {
        const double z = p.source[srcRow];
        stepper.step(z, out);
        Sample* row = p.result_samples + outRow * outStride;
        double explained = 0.0;
        for (int k = 0; k < n; ++k) {
            row[2 * k] = toSample(out[k].signal, out[k].quadrature);
            row[2 * k + 1] = toSample(out[k].dsignal, out[k].dquadrature);
            E[k] += out[k].signal * out[k].signal;
            explained += out[k].signal;
        }
        const double rest = z - explained;
        row[2 * n] = toSample(rest, 0.0);
        SS += rest * rest;
        srcRow += dir;
        outRow += dir;
        ++done;
        if (done % PUBLISH_EVERY == 0) progress.publish(done);
    }
    return done;
}

} // namespace

void storeKalmanEstimates(KalmanParams& p, const KalmanModel& model, const double* E, double SS,
                          int32_t done) {
    if (done <= 0) return;
    for (int k = 0; k < model.n; ++k)
        p.amplitude[k] = std::sqrt(2.0 * E[k] / done);
    // 100 * mean(rest^2) / sum(sigma^2) is what observation_error * mean / R
    // amounts to; written this way it holds for an observation error of 0 too.
    if (p.estimate_error && model.varianceSum > 0.0)
        p.observation_error = 100.0 * (SS / done) / model.varianceSum;
}

int runKalman(KalmanParams& p, KalmanFilterKind kind) {
    WorkerProgress progress(p);
    // The model's blocks live on the heap: worker stacks may be small.
    std::unique_ptr<KalmanModel> model(runnable(p) ? new (std::nothrow) KalmanModel : nullptr);
    if (model) {
        buildKalmanModel(p, *model);
        std::unique_ptr<KalmanStepper> stepper = makeStepper(*model, p, kind);
        if (stepper) {
            double E[MAX_COMPONENTS] = {};
            double SS = 0.0;
            int32_t done = filterSamples(p, *model, *stepper, progress, E, SS);
            stepper.reset();
            storeKalmanEstimates(p, *model, E, SS, done);
            progress.publish(done);
        }
    }
    progress.finish();
    return 0;
}
