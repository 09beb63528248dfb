#include "waves/block_values.h"

bool blockValues(const CMeasure& m, const BlockRange& block, BlockValues& out) {
    if (!m.hasChannel(block.channel) || !m.hasSamples()) return false;
    RowWalk walk = clampRows(block.from, block.to, m.sampleCount);
    if (walk.count <= 0) return false;
    int32_t lo = walk.step > 0 ? walk.first : walk.first - (walk.count - 1);
    out.values.resize(size_t(walk.count));
    for (int32_t i = 0; i < walk.count; ++i)
        out.values[size_t(i)] = m.value(block.channel, lo + i);
    out.sampleRate = m.sampleRate;
    out.startTime = m.sampleRate > 0 ? lo / m.sampleRate : 0;
    return true;
}
