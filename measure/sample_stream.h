// Where a reader that fills its samples a block of rows at a time hands them
// instead of into the measurement's own block: a reading child streams them
// to its parent, which copies each piece into its own memory (see
// fenced_read.h), so the record is never held twice.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "measure/measure.h"

// How many pieces a reader fills in turn: the stream may still be taking
// all but one of them.
constexpr int STREAM_PIECES = 4;

// `begin` once with the record's rows and channels (real samples), then `put`
// for consecutive pieces of rows, then `finish`. A piece holds its rows
// channel after channel (channel c's `rows` values at piece + c * rows), or,
// when `interleaved`, row after row (row r's values at piece + r * channels),
// and must stay as it is, in memory, until STREAM_PIECES - 1 more puts or the
// finish returned.
struct SampleStream {
    bool (*begin)(int64_t rows, int channels);
    bool (*put)(int64_t firstRow, const float* piece, int64_t rows, bool interleaved);
    bool (*finish)();
};
// Null (the default): readers fill the measurement.
void setSampleStream(const SampleStream* stream);
const SampleStream* sampleStream();

// Where a reader puts a real record's rows a block at a time: straight into
// the measurement's columns, or, while a stream is set, into STREAM_PIECES
// buffers in turn (one is filled while the stream takes the others), each no
// longer than the record and, unless small, in huge pages, which the parent's
// copy pins one at a time.
class RowBlocks {
  public:
    // For `m`, whose rows and channels are set, in blocks of up to
    // `blockRows` rows. Allocates the measurement's block, or begins the
    // stream; valid() tells whether that worked (`refusal` says why not).
    RowBlocks(CMeasure& m, int64_t blockRows, std::string* refusal);
    bool valid() const { return valid_; }
    // Channel c's values of rows first .. first + count - 1 of the block
    // begun last.
    float* begin(int64_t first, int64_t count);
    float* column(int c) const { return base_ + c * stride_; }
    // The same block as rows of interleaved channels, as a file stores them:
    // where a stream takes them so (its receiver spreads them into columns,
    // beside this reader's next block), else in a buffer spread by end().
    float* beginRows(int64_t first, int64_t count);
    // Hands the block begun last over (to the stream); false when it fails.
    bool end();
    // After the last block: false when the stream could not take them all.
    bool finish();

  private:
    CMeasure& m_;
    const SampleStream* stream_;
    std::unique_ptr<float, void (*)(void*)> memory_;
    float* pieces_[STREAM_PIECES] = {};
    std::vector<float> rows_;
    int64_t index_ = 0, first_ = 0, count_ = 0, stride_ = 0;
    float* base_ = nullptr;
    bool interleaved_ = false;
    bool valid_ = false;
};
