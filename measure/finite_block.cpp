#include "measure/finite_block.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Whether rows lo .. lo+count-1 of channel c are finite: a pass without
// branches that the compiler vectorises, so that the check before every
// analysis costs little beside the analysis. Infinity and NaN, and only they,
// have every exponent bit set, so adding one to a part's full exponent
// carries into its top bit. A complex sample is read as one 64-bit word,
// whose parts' sums stay apart.
bool rowsFinite(const ChannelValues& v, int32_t lo, int32_t count, bool imaginary) {
    if (!v.complex || !imaginary) {
        const float* s = &v[lo];
        uint32_t bad = 0;
        for (int32_t i = 0; i < count; ++i) {
            uint32_t word;
            std::memcpy(&word, s + i * v.stride, sizeof word);
            bad |= ((word & 0x7f800000u) + 0x00800000u) & 0x80000000u;
        }
        return bad == 0;
    }
    const uint64_t both = 0x100000001u;
    const uint64_t exponent = 0x7f800000u * both, one = 0x00800000u * both,
                   top = 0x80000000u * both;
    const float* s = &v[lo];
    uint64_t bad = 0;
    for (int32_t i = 0; i < count; ++i) {
        uint64_t word;
        std::memcpy(&word, s + i * v.stride, sizeof word);
        bad |= ((word & exponent) + one) & top;
    }
    return bad == 0;
}

bool finiteAt(const ChannelValues& v, int32_t row, bool imaginary) {
    return std::isfinite(v[row]) && (!imaginary || std::isfinite(v.im(row)));
}

constexpr int32_t CHUNK_ROWS = 4096;

} // namespace

NonFiniteValue firstNonFinite(const CMeasure& m, const std::vector<int32_t>& channels, int32_t from,
                              int32_t to, bool imaginary) {
    if (!m.holdsAllRows()) return {};
    RowWalk walk = clampRows(from, to, m.sampleCount);
    if (walk.count <= 0) return {};
    const int32_t lo = walk.step > 0 ? walk.first : walk.first - (walk.count - 1);
    const int32_t end = lo + walk.count;
    for (int32_t first = lo; first < end; first += CHUNK_ROWS) {
        const int32_t last = std::min(end, first + CHUNK_ROWS);
        bool clean = true;
        for (int32_t c : channels)
            clean = clean &&
                    (!m.hasChannel(c) || rowsFinite(m.values(c), first, last - first, imaginary));
        if (clean) continue;
        for (int32_t row = first; row < last; ++row)
            for (int32_t c : channels)
                if (m.hasChannel(c) && !finiteAt(m.values(c), row, imaginary)) return {row, c};
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
