#include "measure/sample_stream.h"

#include <algorithm>

#include "measure/huge_page_block.h"
#include "measure/row_scatter.h"

namespace {

const SampleStream* g_stream = nullptr;

// A piece's bytes, rounded so that every piece starts aligned: to a whole
// huge page (which the parent's copy pins at once) unless the piece is small,
// as a short record's is.
size_t pieceBytes(size_t values) {
    constexpr size_t HUGE_PAGE = size_t(2) << 20, LINE = 64;
    const size_t unit = values * sizeof(float) >= HUGE_PAGE / 8 ? HUGE_PAGE : LINE;
    return (values * sizeof(float) + unit - 1) / unit * unit;
}

} // namespace

void setSampleStream(const SampleStream* stream) {
    g_stream = stream;
}

const SampleStream* sampleStream() {
    return g_stream;
}

RowBlocks::RowBlocks(CMeasure& m, int64_t blockRows, std::string* refusal)
    : m_(m), stream_(g_stream), memory_(nullptr, std::free) {
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    if (!stream_) {
        valid_ = m.allocateSamples(refusal);
        return;
    }
    // Pieces no longer than the record: a short one needs no huge pages.
    const int64_t rows = std::clamp<int64_t>(blockRows, 1, std::max<int64_t>(m.sampleCount, 1));
    const size_t bytes = pieceBytes(size_t(rows) * size_t(std::max(m.channelCount, 1)));
    memory_.reset(static_cast<float*>(allocateHugePageBlock(STREAM_PIECES * bytes)));
    if (memory_)
        for (int i = 0; i < STREAM_PIECES; ++i)
            pieces_[i] = memory_.get() + i * (bytes / sizeof(float));
    valid_ = memory_ && stream_->begin(m.sampleCount, m.channelCount);
    if (!valid_ && refusal) *refusal = "not enough memory for the samples";
}

float* RowBlocks::begin(int64_t first, int64_t count) {
    first_ = first;
    count_ = count;
    interleaved_ = false;
    if (!stream_) {
        stride_ = m_.columnRows();
        base_ = m_.column(0) + first;
    } else {
        stride_ = count;
        base_ = pieces_[index_++ % STREAM_PIECES];
    }
    return base_;
}

float* RowBlocks::beginRows(int64_t first, int64_t count) {
    if (stream_) {
        begin(first, count);
    } else {
        first_ = first;
        count_ = count;
        rows_.resize(size_t(count) * size_t(m_.channelCount));
        base_ = rows_.data();
    }
    interleaved_ = true;
    return base_;
}

bool RowBlocks::end() {
    if (stream_) return stream_->put(first_, base_, count_, interleaved_);
    if (interleaved_)
        scatterRows(base_, count_, m_.channelCount, m_.column(0) + first_, m_.columnRows());
    return true;
}

bool RowBlocks::finish() {
    return !stream_ || stream_->finish();
}
