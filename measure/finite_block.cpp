#include "measure/finite_block.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

bool finite(const Sample& s, bool imaginary) {
    return std::isfinite(s.re) && (!imaginary || std::isfinite(s.im));
}

// Whether rows lo .. lo+count-1 of channel c are finite: a pass without
// branches that the compiler vectorises, so that the check before every
// analysis costs little beside the analysis. Each sample is read as one
// 64-bit word; infinity and NaN, and only they, have every
// exponent bit set, so adding one to a part's full exponent carries into its
// top bit, and the parts' sums stay apart.
bool rowsFinite(const CMeasure& m, int32_t c, int32_t lo, int32_t count, bool imaginary) {
    static_assert(sizeof(Sample) == sizeof(uint64_t), "a sample is two floats");
    // The half re takes in the word, whatever the byte order.
    const Sample probe{-0.0f, 0.0f};
    uint64_t reBits;
    std::memcpy(&reBits, &probe, sizeof reBits);
    const int shift = reBits == 0x80000000u ? 0 : 32;
    const uint64_t both = imaginary ? 0x100000001u : uint64_t(1) << shift;
    const uint64_t exponent = 0x7f800000u * both, one = 0x00800000u * both,
                   top = 0x80000000u * both;
    const Sample* s = m.samples + int64_t(lo) * m.channelCount + c;
    const int64_t stride = m.channelCount;
    uint64_t bad = 0;
    for (int32_t i = 0; i < count; ++i) {
        uint64_t word;
        std::memcpy(&word, s + i * stride, sizeof word);
        bad |= ((word & exponent) + one) & top;
    }
    return bad == 0;
}

constexpr int32_t CHUNK_ROWS = 4096;

} // namespace

NonFiniteValue firstNonFinite(const CMeasure& m, const std::vector<int32_t>& channels, int32_t from,
                              int32_t to, bool imaginary) {
    const int64_t needed = int64_t(m.sampleCount) * m.channelCount * int64_t(sizeof(Sample));
    if (!m.samples || m.sampleBytes < needed) return {};
    RowWalk walk = clampRows(from, to, m.sampleCount);
    if (walk.count <= 0) return {};
    const int32_t lo = walk.step > 0 ? walk.first : walk.first - (walk.count - 1);
    const int32_t end = lo + walk.count;
    for (int32_t first = lo; first < end; first += CHUNK_ROWS) {
        const int32_t last = std::min(end, first + CHUNK_ROWS);
        bool clean = true;
        for (int32_t c : channels)
            clean = clean && (!m.hasChannel(c) || rowsFinite(m, c, first, last - first, imaginary));
        if (clean) continue;
        for (int32_t row = first; row < last; ++row)
            for (int32_t c : channels)
                if (m.hasChannel(c) && !finite(m.at(c, row), imaginary)) return {row, c};
    }
    return {};
}

std::string nonFiniteRefusal(const CMeasure& m, const std::vector<int32_t>& channels, int32_t from,
                             int32_t to, bool imaginary) {
    return nonFiniteRefusal(firstNonFinite(m, channels, from, to, imaginary));
}

std::string nonFiniteRefusal(const NonFiniteValue& bad) {
    if (bad.row < 0) return {};
    return "row " + std::to_string(bad.row) + " of channel " + std::to_string(bad.channel) +
           " is not a finite number";
}

std::string nonFiniteRefusal(const CMeasure& m, const BlockRange& block, bool imaginary) {
    return nonFiniteRefusal(m, std::vector<int32_t>{block.channel}, block.from, block.to,
                            imaginary);
}
