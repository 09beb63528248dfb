#include "python/block_source.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "measure/finite_block.h"
#include "numeric/two_threads.h"
#include "python/block_check.h"
#include "python/measurement_object.h"

namespace {

// Blocks from this long are converted on two threads.
constexpr int32_t ROWS_FOR_TWO_THREADS = int32_t(1) << 18;

// The memory of the last own block, kept for the next one: for millions of
// samples, fresh pages (which the system zeroes) cost more than converting
// into them. At most this much is kept; guarded by the GIL.
constexpr int64_t MAX_KEPT_BYTES = int64_t(64) << 20;
struct KeptMemory {
    void* block = nullptr;
    int64_t bytes = 0;
};
KeptMemory g_kept;

// Gives `m` (its rows, channels and format set) a block, the kept one when
// it is large enough and not more than twice that.
void provideSamples(CMeasure& m) {
    const int64_t bytes = samplesBytes(m.sampleCount, m.channelCount, m.sampleFormat);
    const SampleLayout layout = m.sampleFormat == SAMPLE_FORMAT_COMPLEX ? SampleLayout::PairRows
                                                                        : SampleLayout::RealColumns;
    if (g_kept.block && bytes <= g_kept.bytes && 2 * bytes >= g_kept.bytes) {
        m.adoptBlock(g_kept.block, g_kept.bytes, layout);
        g_kept = KeptMemory{};
        return;
    }
    std::string refusal;
    if (!m.allocateSamples(&refusal)) throw py::value_error(refusal);
}

} // namespace

BlockSource::BlockSource(const py::object& data, const std::optional<double>& rate) {
    if (py::isinstance<MeasurementObject>(data)) {
        measure_ = &coreOf(data.cast<MeasurementObject&>());
        return;
    }
    py::array array = py::array::ensure(data);
    if (!array) throw py::error_already_set();
    shape_ = arrayShape(array, rate.value_or(0.0));
    measure_ = shape_.get();
    // Single precision, as a Measurement made of the array holds it.
    constexpr int flags = py::array::c_style | py::array::forcecast;
    if (shape_->sampleFormat == SAMPLE_FORMAT_COMPLEX) {
        values_ = py::array_t<std::complex<float>, flags>(array);
        valueFloats_ = 2;
    } else {
        values_ = py::array_t<float, flags>(array);
    }
    rowFloats_ = shape_->channelCount * valueFloats_;
    base_ = static_cast<const float*>(values_.data());
}

int BlockSource::stop(const std::optional<int>& given) const {
    return given ? *given : measure_->sampleCount;
}

template <typename Put>
bool BlockSource::convertRows(int channel, int32_t lo, int32_t n, bool imaginary, Put put) const {
    bool finite[2] = {true, true};
    onTwoThreads(n >= ROWS_FOR_TWO_THREADS, [&](int k, int parts) {
        const int32_t first = int32_t(int64_t(n) * k / parts);
        const int32_t last = int32_t(int64_t(n) * (k + 1) / parts);
        const float* v = at(channel, lo + first);
        bool ok = true;
        for (int32_t i = first; i < last; ++i, v += rowFloats_) {
            const float im = valueFloats_ == 2 ? v[1] : 0.0f;
            put(i, v[0], im);
            ok &= std::isfinite(v[0]) && (!imaginary || std::isfinite(im));
        }
        finite[k] = ok;
    });
    return finite[0] && finite[1];
}

const float* BlockSource::at(int channel, int32_t row) const {
    return base_ + int64_t(row) * rowFloats_ + channel * valueFloats_;
}

namespace {

// The first row of lo..hi where bad(c, row) holds for one of `channels`, and
// the first such channel in the order given.
template <typename Bad>
NonFiniteValue firstBad(const std::vector<int>& channels, int32_t lo, int32_t hi, Bad bad) {
    for (int32_t row = lo; row < hi; ++row)
        for (int c : channels)
            if (bad(c, row)) return {row, c};
    return {};
}

} // namespace

std::vector<BlockValues> BlockSource::blocks(const std::vector<int>& channels, int from,
                                             int to) const {
    for (int c : channels)
        checkedBlock(*measure_, c, from, to);
    std::vector<BlockValues> out(channels.size());
    if (!shape_) {
        std::vector<int32_t> all(channels.begin(), channels.end());
        checkFinite(*measure_, all, from, to);
        for (size_t k = 0; k < channels.size(); ++k)
            if (!blockValues(*measure_, BlockRange{channels[k], from, to}, out[k]))
                throw py::value_error("the block is empty");
        return out;
    }
    const int32_t lo = std::min(from, to), hi = std::max(from, to);
    if (lo == hi) throw py::value_error("the block is empty");
    bool finite = true;
    for (size_t k = 0; k < channels.size(); ++k) {
        BlockValues& b = out[k];
        b.values.resize(size_t(hi - lo));
        double* values = b.values.data();
        finite &= convertRows(channels[k], lo, hi - lo, false,
                              [values](int32_t i, float re, float) { values[i] = re; });
        b.sampleRate = measure_->sampleRate;
        b.startTime = lo / measure_->sampleRate;
    }
    if (!finite)
        throw py::value_error(nonFiniteRefusal(firstBad(
            channels, lo, hi, [&](int c, int32_t row) { return !std::isfinite(*at(c, row)); })));
    return out;
}

BlockValues BlockSource::block(int channel, int from, int to) const {
    return std::move(blocks({channel}, from, to).front());
}

void BlockSource::KeepMemory::operator()(CMeasure* m) const {
    int64_t bytes = 0;
    void* block = m->sampleBytes() <= MAX_KEPT_BYTES ? m->releaseBlock(&bytes) : nullptr;
    if (block) {
        std::free(g_kept.block);
        g_kept = KeptMemory{block, bytes};
    }
    delete m;
}

BlockSource::OwnBlock BlockSource::ownBlock(int channel, int from, int to, bool imaginary) const {
    if (!shape_) return nullptr;
    const int32_t lo = std::min(from, to), n = std::max(from, to) - lo;
    OwnBlock m(new CMeasure);
    m->channelCount = 1;
    m->sampleCount = n;
    m->sampleRate = measure_->sampleRate;
    describePlainChannels(*m);
    m->sampleFormat = shape_->sampleFormat;
    // A real array of one channel is read where it is, checked finite first.
    if (valueFloats_ == 1 && rowFloats_ == 1) {
        m->borrowColumn(const_cast<float*>(at(0, lo)), n);
        const NonFiniteValue bad = firstNonFinite(*m, {0}, 0, n);
        if (bad.row >= 0)
            throw py::value_error(nonFiniteRefusal(NonFiniteValue{lo + bad.row, channel}));
        return m;
    }
    provideSamples(*m);
    const ChannelSpan out = m->span(0);
    const bool finite =
        convertRows(channel, lo, n, imaginary, [out](int32_t i, float re, float im) {
            out[i] = re;
            if (out.complex) out.re[2 * int64_t(i) + 1] = im;
        });
    if (!finite)
        throw py::value_error(
            nonFiniteRefusal(firstBad({channel}, lo, lo + n, [&](int, int32_t row) {
                const float* v = at(channel, row);
                return !std::isfinite(v[0]) ||
                       (imaginary && valueFloats_ == 2 && !std::isfinite(v[1]));
            })));
    return m;
}
