#include "aprox/aprox.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "aprox/aprox_worker.h"

namespace {

constexpr double STEP_LIMIT = 1e-8;
constexpr double RMS_RISE_LIMIT = 0.0;

bool finiteStart(const SignalComponent& c, const AproxOptions& options) {
    if (options.use_eta && !std::isfinite(c.eta)) return false;
    return !options.use_ad || (std::isfinite(c.a) && std::isfinite(c.d));
}

const char* startValuesRefusal(const SignalParameters& list, const AproxOptions& options) {
    if (options.use_ad && !std::isfinite(list.level)) return "the level is not a finite number";
    for (int32_t k = 0; k < list.componentCount; ++k) {
        // Worded as the Kalman filter refuses the same list.
        const double f = list.components[k].frequency;
        if (!std::isfinite(f) || f < 0.0)
            return "a component frequency is negative or not a number";
        if (!finiteStart(list.components[k], options))
            return "a start value of a component is not a finite number";
    }
    return nullptr;
}

} // namespace

const char* aproxRefusal(const CMeasure* source, const BlockRange& range,
                         const AproxOptions& options) {
    RangeCheck check = checkRange(source, range);
    if (check != RangeCheck::Ok) return rangeCheckText(check);
    return aproxRefusal(source, range, source->signalParameters[range.channel], options);
}

const char* aproxRefusal(const CMeasure* source, const BlockRange& range,
                         const SignalParameters& list, const AproxOptions& options) {
    RangeCheck check = checkRange(source, range);
    if (check != RangeCheck::Ok) return rangeCheckText(check);
    if (list.componentCount < 0 || list.componentCount > MAX_COMPONENTS)
        return "the channel's component count is outside 0..10";
    if (range.from == range.to) return "the range is empty";
    if (!(source->sampleRate > 0.0) || !std::isfinite(source->sampleRate))
        return "the sampling rate is not positive";
    return startValuesRefusal(list, options);
}

CAprox::CAprox(CMeasure* source, const BlockRange& range, const AproxOptions& options_)
    : CCalculation(source, range), options(options_) {
    params = std::make_unique<AproxParams>();
}

const char* CAprox::RunProblem() const {
    RangeCheck check = checkRange(source, range);
    if (check != RangeCheck::Ok) return rangeCheckText(check);
    return aproxRefusal(source, range, runComponents(), options);
}

WorkerBody CAprox::Body() const {
    return &AproxWorker;
}

void CAprox::layOut(int32_t components, int32_t count) {
    sampleFormat = SAMPLE_FORMAT_COMPLEX;
    channelCount = components + 1;
    sampleCount = count;
    sampleRate = source->sampleRate;
    const char* unit = source->channels[range.channel].unit;
    char name[80];
    for (int32_t k = 0; k <= components; ++k) {
        if (k < components)
            std::snprintf(name, sizeof name, "Component nr %d", k);
        else
            std::snprintf(name, sizeof name, "Rest");
        setChannelInfo(channels[k], 1.0, 0.0, unit, name);
        resetParameters(signalParameters[k]);
    }
}

void CAprox::fillParams(const SignalParameters& list, int32_t first, int32_t count) {
    fillHead(first, count);
    AproxParams& p = aproxParams();
    p.sample_rate = source->sampleRate;
    p.component_count = list.componentCount;
    for (int32_t k = 0; k < list.componentCount; ++k) {
        const SignalComponent& c = list.components[k];
        p.frequency[k] = c.frequency;
        p.a[k] = c.a;
        p.d[k] = c.d;
        p.eta[k] = c.eta;
    }
    p.level = list.level;
    p.step_limit = STEP_LIMIT;
    p.rms_rise_limit = RMS_RISE_LIMIT;
    p.use_ad = options.use_ad;
    p.use_eta = options.use_eta;
}

bool CAprox::Build() {
    if (RunProblem()) return false;
    const SignalParameters& list = runComponents();
    const int32_t lo = std::min(range.from, range.to);
    const int32_t count = std::max(range.from, range.to) - lo;
    const int32_t K = list.componentCount;
    layOut(K, count);
    if (!allocateSamples()) return false;
    fillParams(list, lo, count);
    pending_ = true;
    return true;
}

void CAprox::Finish() {
    if (!pending_) return;
    pending_ = false;
    const AproxParams& p = aproxParams();
    SignalParameters* target = finishComponents(p.channel);
    if (!target) return;
    SignalParameters& list = *target;
    // Components added to the list since the build were not fitted: their
    // slots of the record hold nothing of theirs.
    const int32_t fitted = std::min(std::clamp(list.componentCount, 0, MAX_COMPONENTS),
                                    std::clamp(p.component_count, 0, MAX_COMPONENTS));
    for (int32_t k = 0; k < fitted; ++k) {
        SignalComponent& c = list.components[k];
        c.frequency = p.frequency[k];
        c.a = p.a[k];
        c.d = p.d[k];
        c.eta = p.eta[k];
    }
    list.level = p.level;
}
