#include "view/erase_undo.h"

#include <new>

bool EraseUndo::erase(CMeasure& m, const BlockRange& block) {
    if (!m.hasSamples() || !m.hasChannel(block.channel)) return false;
    RowWalk walk = clampRows(block.from, block.to, m.sampleCount);
    if (walk.count == 0) return false;
    const int32_t first = walk.step > 0 ? walk.first : walk.first - walk.count + 1;
    std::vector<Sample> rows;
    try {
        rows.resize(size_t(walk.count));
    } catch (const std::bad_alloc&) {
        // The erase the user asked for still happens; only its undo is lost.
        clear();
        m.EraseBlock(block.channel, block.from, block.to);
        return true;
    }
    for (int32_t i = 0; i < walk.count; ++i)
        rows[size_t(i)] = m.sample(block.channel, first + i);
    m.EraseBlock(block.channel, block.from, block.to);
    rows_ = std::move(rows);
    channel_ = block.channel;
    first_ = first;
    samples_ = m.blockBytes();
    channelCount_ = m.channelCount;
    sampleCount_ = m.sampleCount;
    return true;
}

bool EraseUndo::undo(CMeasure& m) {
    if (rows_.empty()) return false;
    const bool sameLayout = m.blockBytes() == samples_ && m.channelCount == channelCount_ &&
                            m.sampleCount == sampleCount_;
    if (sameLayout)
        for (size_t i = 0; i < rows_.size(); ++i)
            m.setSample(channel_, first_ + int64_t(i), rows_[i]);
    clear();
    return sameLayout;
}

void EraseUndo::clear() {
    rows_.clear();
    rows_.shrink_to_fit();
    samples_ = nullptr;
}
