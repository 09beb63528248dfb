#include "kalman/kalman.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "kalman/kalman_filter.h"
#include "kalman/kalman_model.h"

CKalman::CKalman(CMeasure* source, const BlockRange& range, const KalmanOptions& options_)
    : CCalculation(source, range), options(options_) {
    params = std::make_unique<KalmanParams>();
}

WorkerBody CKalman::Body() const {
    return &KalmanWorker;
}

const char* CKalman::RunProblem() const {
    RangeCheck check = checkRange(source, range);
    if (check != RangeCheck::Ok) return rangeCheckText(check);
    int n = runComponents().componentCount;
    if (n < 0 || n > MAX_COMPONENTS) return "the channel's component count is not 0 to 10";
    KalmanParams p;
    fillRunFields(p);
    return kalmanInputProblem(p);
}

void CKalman::fillRunFields(KalmanParams& p) const {
    const SignalParameters& list = runComponents();
    p.direction = range.from < range.to ? 1 : -1;
    p.sample_rate = source->sampleRate;
    p.component_count = list.componentCount;
    for (int k = 0; k < MAX_COMPONENTS; ++k) {
        const bool used = k < list.componentCount;
        const SignalComponent& c = list.components[k];
        p.frequency[k] = used ? c.frequency : 0.0;
        p.amplitude[k] = used ? c.amplitude : 0.0;
        p.k[k] = used ? c.k : 0.0;
        p.eta[k] = used ? c.eta : 0.0;
    }
    p.model = options.model;
    p.estimate_error = options.estimate_error;
    p.observation_error = options.observation_error;
    p.constant_period = options.constant_period;
    p.asymptotic = options.asymptotic;
    p.use_damp = options.use_damp;
}

void CKalman::describeChannels(int n) {
    const SignalParameters& list = runComponents();
    const char* unit = source->channels[range.channel].unit;
    char name[80], rateUnit[20];
    for (int k = 0; k < n; ++k) {
        const char* component = list.components[k].name;
        setChannelInfo(channels[2 * k], 1.0, 0.0, unit, component);
        std::snprintf(name, sizeof name, "%.*s diff", MAX_COMPONENT_NAME, component);
        std::snprintf(rateUnit, sizeof rateUnit, "%.*s/s", MAX_UNIT, unit);
        setChannelInfo(channels[2 * k + 1], 1.0, 0.0, rateUnit, name);
        resetParameters(signalParameters[2 * k]);
        resetParameters(signalParameters[2 * k + 1]);
    }
    setChannelInfo(channels[2 * n], 1.0, 0.0, unit, "Rest");
    resetParameters(signalParameters[2 * n]);
}

bool CKalman::Build() {
    built_ = false;
    if (RunProblem()) return false;
    const int n = runComponents().componentCount;
    sampleFormat = SAMPLE_FORMAT_COMPLEX;
    const int32_t lo = std::min(range.from, range.to);
    const int32_t count = std::max(range.from, range.to) - lo;
    channelCount = 2 * n + 1;
    sampleCount = count;
    sampleRate = source->sampleRate;
    describeChannels(n);
    if (!allocateSamples()) return false;
    // Rows the run has not reached (a backward run, a cancel) read as zeros,
    // never as the previous run's values.
    if (hasSamples()) std::memset(blockBytes(), 0, size_t(sampleBytes()));
    fillHead(lo, count);
    fillRunFields(kalmanParams());
    built_ = true;
    return true;
}

void CKalman::Finish() {
    if (!built_) return;
    const KalmanParams& p = kalmanParams();
    // The channel the run was built for, even if `range` has been edited since.
    SignalParameters* target = finishComponents(p.channel);
    if (!target) return;
    SignalParameters& list = *target;
    const int n = std::min(list.componentCount, p.component_count);
    for (int k = 0; k < n; ++k) {
        SignalComponent& c = list.components[k];
        c.frequency = p.frequency[k];
        c.amplitude = p.amplitude[k];
        c.k = p.k[k];
        c.eta = p.eta[k];
    }
    options.observation_error = p.observation_error;
}
