// One level of undo for "Block erease": the rows of the block as they were
// before they were zeroed, and the way to put them back.
#pragma once

#include <cstdint>
#include <vector>

#include "measure/measure.h"

class EraseUndo {
  public:
    // Keeps the block's rows of `m`, then erases the block. False (nothing
    // erased, the earlier undo kept) for an empty block or a channel outside
    // `m`. Rows there is no memory to keep are erased without an undo.
    bool erase(CMeasure& m, const BlockRange& block);
    // Puts the kept rows back into `m` and forgets them. False when there is
    // nothing to undo or `m` is no longer laid out as when it was erased.
    bool undo(CMeasure& m);
    bool available() const { return !rows_.empty(); }
    void clear();

  private:
    std::vector<Sample> rows_; // from row `first_` upwards
    int32_t channel_ = 0;
    int32_t first_ = 0;
    // The layout the rows belong to.
    const void* samples_ = nullptr;
    int32_t channelCount_ = 0;
    int32_t sampleCount_ = 0;
};
