#include "measure/channel_extremes.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>

#include "numeric/two_threads.h"

namespace {

constexpr float INF = std::numeric_limits<float>::infinity();

// A NaN never wins a comparison and is passed over; it still counts as an
// imaginary part other than 0.
inline void take(float v, float& low, float& high, uint32_t& nonZero) {
    low = v < low ? v : low;
    high = v > high ? v : high;
    nonZero |= uint32_t(v != 0);
}

// Channels are taken GROUP at a time down whole rows.
constexpr int GROUP = 4;

// Visits `count` values of rows of `channels` values, the first of them at
// row-major index `first`: walkGroup(i, rows, c0) for GROUP channels from c0
// of the `rows` whole rows that start at value i, one(c, i) for value i of
// channel c everywhere else (the rest of a row begun before, the channels
// past the last whole group, a row that goes on after).
template <typename One, typename Group>
void walkValues(int channels, int64_t count, int64_t first, One one, Group walkGroup) {
    int64_t i = 0;
    int c = int(first % channels);
    for (; i < count && c != 0; ++i, c = c + 1 == channels ? 0 : c + 1)
        one(c, i);
    const int64_t rows = (count - i) / channels;
    int c0 = 0;
    for (; c0 + GROUP <= channels; c0 += GROUP)
        walkGroup(i, rows, c0);
    for (; c0 < channels; ++c0)
        for (int64_t r = 0; r < rows; ++r)
            one(c0, i + r * channels + c0);
    i += rows * channels;
    for (int k = 0; i < count; ++i, ++k)
        one(k, i);
}

// Below this many values one thread gathers the extremes alone.
constexpr int64_t VALUES_FOR_TWO_THREADS = int64_t(1) << 22;

} // namespace

ChannelExtremes::ChannelExtremes(int channels)
    : channels_(channels < 0              ? 0
                : channels > MAX_CHANNELS ? MAX_CHANNELS
                                          : channels) {
    for (int l = 0; l < 2 * channels_; ++l) {
        low_[l] = INF;
        high_[l] = -INF;
        imagNonZero_[l] = 0;
    }
}

void ChannelExtremes::takeSample(int c, const Sample& s) {
    take(s.re, low_[2 * c], high_[2 * c], imagNonZero_[2 * c]);
    take(s.im, low_[2 * c + 1], high_[2 * c + 1], imagNonZero_[2 * c + 1]);
}

namespace {

// Four floats: two samples' real and imaginary parts, or their lanes. The
// compiler maps these onto vector registers where the machine has them.
typedef float Floats4 __attribute__((vector_size(16)));
typedef int32_t Ints4 __attribute__((vector_size(16)));

// Four lanes, in registers: the lowest and highest value and whether any was
// other than 0.
struct Lanes4 {
    Floats4 low, high;
    Ints4 nonZero;

    void load(const float* l, const float* h, const uint32_t* n) {
        std::memcpy(&low, l, sizeof low);
        std::memcpy(&high, h, sizeof high);
        std::memcpy(&nonZero, n, sizeof nonZero);
    }
    void store(float* l, float* h, uint32_t* n) const {
        std::memcpy(l, &low, sizeof low);
        std::memcpy(h, &high, sizeof high);
        std::memcpy(n, &nonZero, sizeof nonZero);
    }
    void take(const Sample* pair) {
        Floats4 v;
        std::memcpy(&v, pair, sizeof v);
        low = v < low ? v : low;
        high = v > high ? v : high;
        nonZero |= v != 0;
    }
    void join(const Lanes4& other) {
        low = other.low < low ? other.low : low;
        high = other.high > high ? other.high : high;
        nonZero |= other.nonZero;
    }
};

} // namespace

// Channels `c0` .. `c0` + 3 of `rowCount` whole rows, their lanes held in
// registers for the whole walk down the rows.
void ChannelExtremes::takeGroup(const Sample* rows, int64_t rowCount, int c0) {
    static_assert(GROUP == 4, "a group is two pairs of samples");
    const int l0 = 2 * c0;
    // Even and odd rows in lanes of their own: a comparison waits for the one
    // before it in its lane, and two lanes keep twice as many going.
    Lanes4 first, second, firstOdd, secondOdd;
    first.load(low_ + l0, high_ + l0, imagNonZero_ + l0);
    second.load(low_ + l0 + 4, high_ + l0 + 4, imagNonZero_ + l0 + 4);
    firstOdd = first;
    secondOdd = second;
    const Sample* s = rows + c0;
    const int64_t step = channels_;
    int64_t r = 0;
    for (; r + 1 < rowCount; r += 2, s += 2 * step) {
        first.take(s);
        second.take(s + 2);
        firstOdd.take(s + step);
        secondOdd.take(s + step + 2);
    }
    if (r < rowCount) {
        first.take(s);
        second.take(s + 2);
    }
    first.join(firstOdd);
    second.join(secondOdd);
    first.store(low_ + l0, high_ + l0, imagNonZero_ + l0);
    second.store(low_ + l0 + 4, high_ + l0 + 4, imagNonZero_ + l0 + 4);
}

void ChannelExtremes::add(const Sample* values, int64_t count, int64_t first) {
    if (channels_ < 1 || count < 1) return;
    walkValues(
        channels_, count, first, [&](int c, int64_t i) { takeSample(c, values[i]); },
        [&](int64_t i, int64_t rows, int c0) { takeGroup(values + i, rows, c0); });
}

void ChannelExtremes::takeReal(int c, float v) {
    take(v, low_[2 * c], high_[2 * c], imagNonZero_[2 * c]);
}

// The real parts of channels `c0` .. `c0` + 3 of `rowCount` whole rows of
// floats, in registers for the whole walk down the rows.
void ChannelExtremes::takeRealGroup(const unsigned char* rows, int64_t rowCount, int c0) {
    Floats4 low, high, lowOdd, highOdd;
    for (int k = 0; k < GROUP; ++k) {
        low[k] = low_[2 * (c0 + k)];
        high[k] = high_[2 * (c0 + k)];
    }
    lowOdd = low;
    highOdd = high;
    const int64_t rowBytes = int64_t(channels_) * 4;
    const unsigned char* p = rows + int64_t(c0) * 4;
    int64_t r = 0;
    for (; r + 1 < rowCount; r += 2, p += 2 * rowBytes) {
        Floats4 v, w;
        std::memcpy(&v, p, sizeof v);
        std::memcpy(&w, p + rowBytes, sizeof w);
        low = v < low ? v : low;
        high = v > high ? v : high;
        lowOdd = w < lowOdd ? w : lowOdd;
        highOdd = w > highOdd ? w : highOdd;
    }
    if (r < rowCount) {
        Floats4 v;
        std::memcpy(&v, p, sizeof v);
        low = v < low ? v : low;
        high = v > high ? v : high;
    }
    low = lowOdd < low ? lowOdd : low;
    high = highOdd > high ? highOdd : high;
    for (int k = 0; k < GROUP; ++k) {
        low_[2 * (c0 + k)] = low[k];
        high_[2 * (c0 + k)] = high[k];
    }
}

void ChannelExtremes::addRealParts(const unsigned char* floats, int64_t count, int64_t first) {
    if (channels_ < 1 || count < 1) return;
    auto value = [floats](int64_t i) {
        float v;
        std::memcpy(&v, floats + 4 * i, sizeof v);
        return v;
    };
    walkValues(
        channels_, count, first, [&](int c, int64_t i) { takeReal(c, value(i)); },
        [&](int64_t i, int64_t rows, int c0) { takeRealGroup(floats + 4 * i, rows, c0); });
}

void ChannelExtremes::addColumn(int c, const float* values, int64_t count) {
    if (c < 0 || c >= channels_ || count < 1) return;
    // Eight lanes side by side, so that the comparisons do not wait on
    // each other.
    Floats4 low[2], high[2];
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 4; ++l) {
            low[k][l] = low_[2 * c];
            high[k][l] = high_[2 * c];
        }
    int64_t i = 0;
    for (; i + 8 <= count; i += 8)
        for (int k = 0; k < 2; ++k) {
            Floats4 v;
            std::memcpy(&v, values + i + 4 * k, sizeof v);
            low[k] = v < low[k] ? v : low[k];
            high[k] = v > high[k] ? v : high[k];
        }
    float lo = low_[2 * c], hi = high_[2 * c];
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 4; ++l) {
            lo = low[k][l] < lo ? low[k][l] : lo;
            hi = high[k][l] > hi ? high[k][l] : hi;
        }
    for (; i < count; ++i) {
        lo = values[i] < lo ? values[i] : lo;
        hi = values[i] > hi ? values[i] : hi;
    }
    low_[2 * c] = lo;
    high_[2 * c] = hi;
}

void ChannelExtremes::join(const ChannelExtremes& other) {
    if (other.channels_ != channels_) return;
    for (int l = 0; l < 2 * channels_; ++l) {
        low_[l] = other.low_[l] < low_[l] ? other.low_[l] : low_[l];
        high_[l] = other.high_[l] > high_[l] ? other.high_[l] : high_[l];
        imagNonZero_[l] |= other.imagNonZero_[l];
    }
}

ChannelRange ChannelExtremes::realRange(int c, const Sample& firstRow) const {
    const float low = low_[2 * c], high = high_[2 * c];
    // Every imaginary part is a zero, so the values compared are the real
    // parts and zeros: an extreme that is no real part below (above) 0 is the
    // first zero met, which is in row 0.
    const float firstZero = firstRow.re == 0 ? firstRow.re : firstRow.im;
    ChannelRange r;
    r.low = low < 0 ? low : firstZero;
    r.high = high > 0 ? high : firstZero;
    // The largest modulus is the largest |real part|: squared exactly in
    // double, its root is that float again.
    double mod2 = 0;
    if (low <= high) mod2 = std::fmax(double(low) * low, double(high) * high);
    r.modulus = float(std::sqrt(mod2));
    return r;
}

namespace {

// Every channel's range by one pass over rows [first, last) in order: each
// sample's real part, then its imaginary part, compared with the extremes so
// far (the first of equal values stays), and its modulus in double precision.
struct ExactRanges {
    float low[MAX_CHANNELS], high[MAX_CHANNELS];
    double mod2[MAX_CHANNELS];

    void scan(const CMeasure& m, int32_t first, int32_t last) {
        const int channels = m.channelCount;
        for (int c = 0; c < channels; ++c) {
            low[c] = INF;
            high[c] = -INF;
            mod2[c] = 0.0;
        }
        for (int c = 0; c < channels; ++c) {
            const ChannelValues v = m.values(c);
            // Selects rather than branches.
            for (int32_t j = first; j < last; ++j) {
                const float re = v[j], im = v.im(j);
                const double m2 = double(re) * double(re) + double(im) * double(im);
                low[c] = re < low[c] ? re : low[c];
                low[c] = im < low[c] ? im : low[c];
                high[c] = re > high[c] ? re : high[c];
                high[c] = im > high[c] ? im : high[c];
                mod2[c] = m2 > mod2[c] ? m2 : mod2[c];
            }
        }
    }
    // Rows after this pass's, as one pass over both gives.
    void follow(const ExactRanges& later, int channels) {
        for (int c = 0; c < channels; ++c) {
            low[c] = later.low[c] < low[c] ? later.low[c] : low[c];
            high[c] = later.high[c] > high[c] ? later.high[c] : high[c];
            mod2[c] = later.mod2[c] > mod2[c] ? later.mod2[c] : mod2[c];
        }
    }
    ChannelRange range(int c) const {
        const bool any = low[c] <= high[c];
        return ChannelRange{any ? low[c] : 0.0f, any ? high[c] : 0.0f, float(std::sqrt(mod2[c]))};
    }
};

// Runs work(0, 0, half) here and work(1, half, rows) on a second thread when
// the block is large and a thread can be had, else work(0, 0, rows); true
// when split. `work` writes only the results of its own part k.
template <typename Work> bool splitRows(int64_t values, int32_t rows, Work work) {
    const int32_t half = rows / 2;
    return onTwoThreads(values >= VALUES_FOR_TWO_THREADS, [&](int k, int parts) {
        work(k, k == 0 ? 0 : half, parts == 2 && k == 0 ? half : rows);
    });
}

void exactRanges(const CMeasure& m, int32_t rows, ChannelRange* out) {
    ExactRanges part[2];
    bool split =
        splitRows(int64_t(rows) * m.channelCount, rows,
                  [&](int k, int32_t first, int32_t last) { part[k].scan(m, first, last); });
    if (split) part[0].follow(part[1], m.channelCount);
    for (int c = 0; c < m.channelCount; ++c)
        out[c] = part[0].range(c);
}

bool allReal(const ChannelExtremes& e) {
    for (int c = 0; c < e.channels(); ++c)
        if (!e.realParts(c)) return false;
    return true;
}

// The lanes of the first `rows` rows of a real record's columns, a channel
// at a time, on two threads for a large block.
ChannelExtremes gatherColumns(const CMeasure& m, int32_t rows) {
    const int channels = m.channelCount;
    ChannelExtremes part[2] = {ChannelExtremes(channels), ChannelExtremes(channels)};
    splitRows(int64_t(rows) * channels, rows, [&](int k, int32_t first, int32_t last) {
        for (int c = 0; c < channels; ++c)
            part[k].addColumn(c, m.column(c) + first, last - first);
    });
    part[0].join(part[1]);
    return part[0];
}

// The lanes of the first `rows` rows. Rows are taken a stretch at a time, and
// both threads stop at the first imaginary part other than 0: such a block
// needs the pass with the modulus, and the lanes would be wasted on it.
ChannelExtremes gatherExtremes(const CMeasure& m, int32_t rows) {
    constexpr int32_t STRETCH = 16384;
    const int channels = m.channelCount;
    ChannelExtremes part[2] = {ChannelExtremes(channels), ChannelExtremes(channels)};
    std::atomic<bool> imaginary{false};
    splitRows(int64_t(rows) * channels, rows, [&](int k, int32_t first, int32_t last) {
        for (int32_t r = first; r < last && !imaginary.load(std::memory_order_relaxed);
             r += STRETCH) {
            const int64_t from = int64_t(r) * channels;
            const int32_t n = std::min(STRETCH, last - r);
            part[k].add(m.pairRows() + from, int64_t(n) * channels, from);
            if (!allReal(part[k])) imaginary.store(true, std::memory_order_relaxed);
        }
    });
    part[0].join(part[1]);
    return part[0];
}

} // namespace

void channelRanges(const CMeasure& m, int32_t rows, const ChannelExtremes* known,
                   ChannelRange* out) {
    const int channels = m.channelCount;
    if (channels < 1 || channels > MAX_CHANNELS) return;
    if (rows < 1 || !m.hasSamples()) {
        for (int c = 0; c < channels; ++c)
            out[c] = ChannelRange{0.0f, 0.0f, 0.0f};
        return;
    }
    ChannelExtremes gathered;
    if (!known || known->channels() != channels) {
        // Complex samples need the pass with the modulus in any case.
        if (m.sampleFormat == SAMPLE_FORMAT_COMPLEX) return exactRanges(m, rows, out);
        gathered = m.column(0) ? gatherColumns(m, rows) : gatherExtremes(m, rows);
        known = &gathered;
    }
    if (!allReal(*known)) return exactRanges(m, rows, out);
    for (int c = 0; c < channels; ++c)
        out[c] = known->realRange(c, m.sample(c, 0));
}
