#include "analysis/calculation.h"

#include <atomic>
#include <cmath>
#include <cstring>

#include "measure/finite_block.h"
#include "measure/number_text.h"

namespace {
constexpr size_t MAX_TITLE = 285;

// Run numbers are unique in the process, so a message names its result too.
std::atomic<uint32_t> g_lastRun{0};
} // namespace

RangeCheck checkRange(const CMeasure* source, const BlockRange& range) {
    if (!source) return RangeCheck::Closed;
    if (!source->hasChannel(range.channel) || range.channel >= MAX_CHANNELS)
        return RangeCheck::BadChannel;
    auto inside = [&](int32_t bound) { return bound >= 0 && bound <= source->sampleCount; };
    if (!inside(range.from) || !inside(range.to)) return RangeCheck::BadRange;
    if (range.from == range.to) return RangeCheck::Ok;
    if (!source->holdsAllRows()) return RangeCheck::NoSamples;
    return RangeCheck::Ok;
}

const char* rangeCheckText(RangeCheck check) {
    switch (check) {
    case RangeCheck::Ok:
        return "ok";
    case RangeCheck::Closed:
        return "the measurement is closed";
    case RangeCheck::BadChannel:
        return "the channel is outside the measurement";
    case RangeCheck::BadRange:
        return "the range is outside the measurement";
    case RangeCheck::NoSamples:
        return "the measurement holds no samples";
    }
    return "unknown";
}

CCalculation::CCalculation(CMeasure* source_, const BlockRange& range_)
    : range(range_), source(source_) {}

CCalculation::~CCalculation() {
    joinWorker();
}

void CCalculation::joinWorker() {
    if (params) params->cancel.store(1, std::memory_order_release);
    if (worker) worker->join();
    worker.reset();
}

bool CCalculation::StartWorker(MessageSink* window) {
    // A buffer must never be resized under a running worker.
    if (worker) StopWorker();
    if (!params || checkRange(source, range) != RangeCheck::Ok) return false;
    if (!Build()) {
        // A build that refuses keeps the result as it was; one whose buffer
        // could not be obtained must not claim rows it does not hold, not
        // even through the earlier run's `done` at the next StopWorker.
        if (!holdsAllRows()) {
            sampleCount = 0;
            params->done.store(0, std::memory_order_relaxed);
        }
        return false;
    }
    params->window = window;
    params->cancel.store(0, std::memory_order_relaxed);
    params->done.store(0, std::memory_order_relaxed);
    runs_ = g_lastRun.fetch_add(1, std::memory_order_relaxed) + 1;
    params->run = runs_;
    // The sample count follows `done`: the window never reads a unit the
    // worker has not finished.
    sampleCount = 0;
    worker = std::make_unique<WorkerThread>();
    if (!worker->start(Body(), params.get())) {
        worker.reset();
        return false;
    }
    return true;
}

void CCalculation::StopWorker() {
    joinWorker();
    sampleCount = params ? params->done.load(std::memory_order_acquire) : 0;
    Finish();
}

bool CCalculation::OnWorkerMessage(int command, uint32_t run) {
    if (run != runs_ || !params) return false;
    if (command == CMD_CALC_PROGRESS) {
        if (!worker) return false;
        sampleCount = params->done.load(std::memory_order_acquire);
        return true;
    }
    if (command == CMD_CALC_DONE) {
        // Already stopped (for instance by "Recalculate"): nothing to finish again.
        if (!worker) return false;
        StopWorker();
        return true;
    }
    return false;
}

void CCalculation::CloseSource() {
    if (worker) StopWorker();
    source = nullptr;
}

CalcState CCalculation::state() const {
    if (!worker) return CalcState::Idle;
    return worker->ended() ? CalcState::Ended : CalcState::Running;
}

std::string CCalculation::Title(const char* suffix) const {
    std::string title = source
                            ? std::string(source->path, strnlen(source->path, sizeof source->path))
                            : std::string("Closed");
    if (suffix) title += suffix;
    if (title.size() > MAX_TITLE) title.resize(MAX_TITLE);
    return title;
}

const SignalParameters& CCalculation::runComponents() const {
    return ownComponents_ ? *ownComponents_ : source->signalParameters[range.channel];
}

std::string CCalculation::blockRefusal() const {
    return nonFiniteRefusal(*source, range, readsImaginary());
}

SignalParameters* CCalculation::finishComponents(int32_t channel) {
    if (ownComponents_) return &*ownComponents_;
    if (!source || !source->hasChannel(channel) || channel >= MAX_CHANNELS) return nullptr;
    return &source->signalParameters[channel];
}

void CCalculation::fillHead(int32_t first, int32_t count) {
    params->source = source->values(range.channel);
    params->result_samples = pairRows();
    params->channel = range.channel;
    params->first = first;
    params->count = count;
}

void CCalculation::AddComponent(int32_t channel, int32_t sample) {
    if (!source || !hasSamples() || !hasChannel(channel)) return;
    if (sample < 0 || sample >= sampleCount) return;
    if (!source->hasChannel(range.channel) || range.channel >= MAX_CHANNELS) return;
    const Sample value = this->sample(channel, sample);
    SignalComponent c{};
    copyField(c.name, sizeof c.name, "jaka\x9C nazwa"); // "jakaś nazwa" in Windows-1250
    c.frequency = sample / sampleRate;
    c.a = value.re;
    c.d = value.im;
    c.eta = 0.0;
    c.amplitude = std::sqrt(c.a * c.a + c.d * c.d);
    c.k = 5.0;
    appendComponent(source->signalParameters[range.channel], c);
}

bool CCalculation::WriteText(std::FILE* stream) {
    if (!hasSamples()) return true;
    std::string line;
    for (int32_t i = 0; i < sampleCount; ++i) {
        line.clear();
        appendE(line, i / sampleRate, 6);
        for (int32_t c = 0; c < channelCount; ++c) {
            const Sample s = sample(c, i);
            line += '\t';
            appendE(line, s.re, 6);
            line += '\t';
            appendE(line, s.im, 6);
        }
        line += "\r\n";
        if (std::fwrite(line.data(), 1, line.size(), stream) != line.size()) return false;
    }
    return true;
}
