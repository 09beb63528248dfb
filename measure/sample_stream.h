// Where a reader that fills its samples a block of rows at a time hands them
// instead of into the measurement's own block: a reading child streams them
// to its parent, which copies each piece into its own memory (see
// fenced_read.h), so the record is never held twice.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "measure/measure.h"

// `begin` once with the samples' size in bytes, then `put` for consecutive
// pieces, then `finish`. A piece put must stay as it is, in memory, until
// the next put or the finish returns.
struct SampleStream {
    bool (*begin)(int64_t bytes);
    bool (*put)(int64_t firstSample, const Sample* samples, int64_t count);
    bool (*finish)();
};
// Null (the default): readers fill the measurement.
void setSampleStream(const SampleStream* stream);
const SampleStream* sampleStream();

// The two buffers a reader streaming pieces of up to `samples` alternates
// between (one is converted while the stream takes the other), in huge
// pages, which the parent's copy pins one at a time. None for 0 samples.
class StreamPieces {
  public:
    explicit StreamPieces(int64_t samples);
    bool valid() const { return bool(memory_); }
    // The buffer for piece number `index`.
    Sample* piece(int64_t index) const { return pieces_[index % 2]; }

  private:
    std::unique_ptr<Sample, void (*)(void*)> memory_;
    Sample* pieces_[2] = {};
};
