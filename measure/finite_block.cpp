#include "measure/finite_block.h"

#include <cmath>

namespace {

bool finite(const Sample& s, bool imaginary) {
    return std::isfinite(s.re) && (!imaginary || std::isfinite(s.im));
}

} // namespace

NonFiniteValue firstNonFinite(const CMeasure& m, const std::vector<int32_t>& channels, int32_t from,
                              int32_t to, bool imaginary) {
    const int64_t needed = int64_t(m.sampleCount) * m.channelCount * int64_t(sizeof(Sample));
    if (!m.samples || m.sampleBytes < needed) return {};
    RowWalk walk = clampRows(from, to, m.sampleCount);
    if (walk.count <= 0) return {};
    const int32_t lo = walk.step > 0 ? walk.first : walk.first - (walk.count - 1);
    for (int32_t row = lo; row < lo + walk.count; ++row)
        for (int32_t c : channels)
            if (m.hasChannel(c) && !finite(m.at(c, row), imaginary)) return {row, c};
    return {};
}

std::string nonFiniteRefusal(const CMeasure& m, const std::vector<int32_t>& channels, int32_t from,
                             int32_t to, bool imaginary) {
    NonFiniteValue bad = firstNonFinite(m, channels, from, to, imaginary);
    if (bad.row < 0) return {};
    return "row " + std::to_string(bad.row) + " of channel " + std::to_string(bad.channel) +
           " is not a finite number";
}

std::string nonFiniteRefusal(const CMeasure& m, const BlockRange& block, bool imaginary) {
    return nonFiniteRefusal(m, std::vector<int32_t>{block.channel}, block.from, block.to,
                            imaginary);
}
