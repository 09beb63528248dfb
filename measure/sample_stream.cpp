#include "measure/sample_stream.h"

#include <sys/mman.h>

namespace {

const SampleStream* g_stream = nullptr;
constexpr size_t HUGE_PAGE = size_t(2) << 20;

} // namespace

void setSampleStream(const SampleStream* stream) {
    g_stream = stream;
}

const SampleStream* sampleStream() {
    return g_stream;
}

StreamPieces::StreamPieces(int64_t samples) : memory_(nullptr, std::free) {
    if (samples <= 0) return; // a reader that fills the measurement itself
    const size_t bytes = (size_t(samples) * sizeof(Sample) + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
    memory_.reset(static_cast<Sample*>(std::aligned_alloc(HUGE_PAGE, 2 * bytes)));
    if (!memory_) return;
    madvise(memory_.get(), 2 * bytes, MADV_HUGEPAGE);
    pieces_[0] = memory_.get();
    pieces_[1] = memory_.get() + bytes / sizeof(Sample);
}
