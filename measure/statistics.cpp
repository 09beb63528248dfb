#include "measure/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

void StatisticsRing::push(double value) {
    current = current == SIZE - 1 ? 0 : current + 1;
    slots[current] = value;
    ++entries;
}

double StatisticsRing::back(int32_t age) const {
    int32_t slot = current - age;
    return slots[slot < 0 ? slot + SIZE : slot];
}

void StatisticsRing::replaceNewest(double value) {
    slots[current] = value;
}

namespace {

// Ten times the least-squares line through four entries b0 (newest) .. b3, at
// the position of the third newest (level) and of the second newest (next).
double lineLevel(double b0, double b1, double b2, double b3) {
    return b0 + 2 * b1 + 3 * b2 + 4 * b3;
}
double lineNext(double b0, double b1, double b2, double b3) {
    return 4 * b0 + 3 * b1 + 2 * b2 + b3;
}

// Whether the line of `level` and `next` changes sign between them. Signs are
// compared rather than the product, which underflows for tiny values.
bool lineCrosses(double level, double next) {
    if (level < 0) return next > 0;
    if (level > 0) return next < 0;
    return level == 0 && next != 0;
}

// Where that line is zero, in samples after the third newest entry. Only
// called when lineCrosses holds, so the line is not level.
double lineRoot(double level, double next) {
    return -level / (next - level);
}

// The least-squares parabola through g, f, e, d placed at -1, 0, 1, 2, at `t`.
double parabolaValue(double g, double f, double e, double d, double t) {
    return ((-3 * d + 9 * e + 11 * f + 3 * g) + t * (d + 7 * e + 3 * f - 11 * g) +
            t * t * (5 * d - 5 * e - 5 * f + 5 * g)) /
           20;
}

double ringLevel(const StatisticsRing& r) {
    return lineLevel(r.back(0), r.back(1), r.back(2), r.back(3));
}
double ringNext(const StatisticsRing& r) {
    return lineNext(r.back(0), r.back(1), r.back(2), r.back(3));
}

} // namespace

bool crossesZero(const StatisticsRing& ring) {
    return lineCrosses(ringLevel(ring), ringNext(ring));
}

double quadraticValue(const StatisticsRing& ring, double t) {
    return parabolaValue(ring.back(5), ring.back(4), ring.back(3), ring.back(2), t);
}

namespace {

// Minimum, maximum and sum of the heights or the periods met so far.
struct RunningGroup {
    double minimum = 0;
    double maximum = 0;
    double sum = 0;
    int32_t count = 0;

    void add(double value) {
        if (count == 0) {
            minimum = maximum = value;
        } else if (value > maximum) {
            maximum = value;
        } else if (value < minimum) {
            minimum = value;
        }
        sum += value;
        ++count;
    }
    double average() const { return count > 0 ? sum / count : sum; }
};

struct WaveState {
    StatisticsRing crossings; // recorded crossing times, in samples
    StatisticsRing extremes;  // recorded crests and troughs, relative to the mean
    RunningGroup heights;
    RunningGroup periods;
    double dt = 0;
};

// Ten times the five-sample slope centred on b2 of the values b0 (newest) .. b4.
double slopeTimesTen(double b0, double b1, double b3, double b4) {
    return 2 * (b0 - b4) + (b1 - b3);
}

// Whether two neighbouring entries may differ in sign, 0 counting as either.
// Where none of the three pairs among four entries may, the four share a
// sign, and the lines through them, sums of those entries with positive
// weights, share it too: they cannot cross, and their arithmetic is skipped.
// A product that underflows to 0 only keeps a position that could be
// skipped; one with a NaN may be skipped, as its lines cannot cross. Free of
// branches, so that it is computed over a whole block in vector registers.
bool changesSign(double a, double b) {
    return a * b <= 0;
}

// 1 where either pair of neighbours may change sign, else 0, as a double so
// that whole blocks of it are computed in vector registers.
double eitherChangesSign(double a, double b, double c, double e) {
    return changesSign(a, b) | changesSign(c, e) ? 1.0 : 0.0;
}

double valueAt(const SignalStatistics& s, int32_t i) {
    return s.values[int64_t(i) * s.stride];
}

void clearResults(SignalStatistics& s) {
    s.valid = 0;
    s.minimum = s.maximum = s.mean = s.deviation = 0;
    s.heightMin = s.heightMax = s.heightMean = 0;
    s.periodMin = s.periodMax = s.periodMean = 0;
    s.heightCount = s.periodCount = 0;
}

// The lowest and highest value of one lane of samples: the first of them,
// where equal values differ in bits (a zero's sign).
struct Extremes {
    double minimum, maximum;
    void add(double x) {
        minimum = x < minimum ? x : minimum;
        maximum = x > maximum ? x : maximum;
    }
};

// The first sample equal to 0, of either sign. Only asked when an extreme is
// 0, so one exists.
double firstZero(const SignalStatistics& s) {
    for (int32_t i = 0; i < s.count; ++i)
        if (valueAt(s, i) == 0) return valueAt(s, i);
    return 0;
}

// The extremes are followed in two interleaved lanes, which halves the chain
// of dependent comparisons; the sum stays one chain in sample order. The
// lanes' extremes are equal in bits to the first sample's of that value
// unless the extreme is 0, whose sign the comparisons cannot tell.
void signalGroup(SignalStatistics& s) {
    const double first = valueAt(s, 0);
    Extremes odd{first, first}, even{first, first};
    double sum = first;
    int32_t i = 1;
    for (; i + 1 < s.count; i += 2) {
        double a = valueAt(s, i), b = valueAt(s, i + 1);
        odd.add(a);
        even.add(b);
        sum += a;
        sum += b;
    }
    if (i < s.count) {
        double a = valueAt(s, i);
        odd.add(a);
        sum += a;
    }
    even.add(odd.minimum);
    even.add(odd.maximum);
    s.minimum = even.minimum == 0 ? firstZero(s) : even.minimum;
    s.maximum = even.maximum == 0 ? firstZero(s) : even.maximum;
    s.mean = sum / s.count;
    s.valid = STAT_SIGNAL;
}

// The sum of the squared deviations, in sample order. The wave pass takes it
// along when both are wanted (one pass over the samples less); NoSquares
// stands in when the deviation is not wanted.
struct Squares {
    double sum = 0;
    void add(double d) { sum += d * d; }
};
struct NoSquares {
    void add(double) {}
};

void setDeviation(SignalStatistics& s, const Squares& squares) {
    s.deviation = std::sqrt(squares.sum / s.count);
    s.valid |= STAT_DEVIATION;
}

void deviationGroup(SignalStatistics& s) {
    Squares squares;
    for (int32_t i = 0; i < s.count; ++i)
        squares.add(valueAt(s, i) - s.mean);
    setDeviation(s, squares);
}

void recordCrossing(WaveState& w, double time) {
    // The time is offset by a constant from the true crossing; periods are
    // differences, so the offset cancels.
    // The same crossing seen again from the next window lands within a sample.
    if (w.crossings.entries > 0 && !(time - w.crossings.back(0) > 1)) return;
    w.crossings.push(time);
    // Up- and down-crossings are both recorded: two back is one full wave.
    if (w.crossings.entries >= 3) w.periods.add((time - w.crossings.back(2)) * w.dt);
}

void recordExtreme(WaveState& w, double extreme) {
    w.extremes.push(extreme);
    // The newest extreme may still be replaced; the two before it are final.
    if (w.extremes.entries >= 3) w.heights.add(std::fabs(w.extremes.back(1) - w.extremes.back(2)));
}

void considerExtreme(WaveState& w, double extreme) {
    if (w.extremes.entries == 0) {
        recordExtreme(w, extreme);
        return;
    }
    double last = w.extremes.back(0);
    bool sameHalfWave = last > 0 ? extreme > 0 : extreme < 0;
    if (!sameHalfWave) {
        recordExtreme(w, extreme);
    } else if (last > 0 ? extreme > last : extreme < last) {
        // A higher crest or a deeper trough of the same half-wave.
        w.extremes.replaceNewest(extreme);
    }
}

// The wave pass takes the samples in blocks. First the deviations from the
// mean, their squares summed in sample order (a chain of dependent additions,
// kept apart from any branch so that it runs at full speed); then, free of
// branches, the slopes, the sign changes and the positions that may hold a
// crossing; last the line arithmetic at those positions only. A block's
// arrays start with the history its first position looks back on.
constexpr int32_t WAVE_BLOCK = 2048;
constexpr int32_t VALUE_HISTORY = 7; // a slope's line reaches seven values back
constexpr int32_t SLOPE_HISTORY = 3;
constexpr int32_t CHANGE_HISTORY = 2;

struct WaveBlock {
    double d[VALUE_HISTORY + WAVE_BLOCK];     // x(i) - mean
    double slope[SLOPE_HISTORY + WAVE_BLOCK]; // ten times the slope, two samples behind d
    // Whether the newest value or slope may have another sign than the one
    // before it; three in a row decide whether position i may hold a crossing.
    double signChange[CHANGE_HISTORY + WAVE_BLOCK];
    int32_t mayCross[WAVE_BLOCK]; // the positions that may hold one
    int32_t mayCount = 0;

    // Position i of the block (k = first + i), newest first.
    const double* values(int32_t i) const { return d + VALUE_HISTORY + i; }
    const double* slopes(int32_t i) const { return slope + SLOPE_HISTORY + i; }

    // Fills the history from the first nine samples: d of samples 2 .. 8
    // and the slopes centred on 4 .. 6.
    template <typename Sum> void start(const SignalStatistics& s, Sum& squares) {
        double first[9];
        for (int32_t i = 0; i < 9; ++i) {
            first[i] = valueAt(s, i) - s.mean;
            squares.add(first[i]);
        }
        for (int32_t i = 0; i < VALUE_HISTORY; ++i)
            d[i] = first[i + 2];
        for (int32_t j = 0; j < SLOPE_HISTORY; ++j)
            slope[j] = slopeTimesTen(first[j + 6], first[j + 5], first[j + 3], first[j + 2]);
        for (int32_t j = 0; j < CHANGE_HISTORY; ++j)
            signChange[j] = eitherChangesSign(d[j + 5], d[j + 4], slope[j + 1], slope[j]);
    }

    template <typename Sum>
    void fill(const float* x, int64_t stride, int32_t n, double mean, Sum& squares) {
        double* out = d + VALUE_HISTORY;
        for (int32_t i = 0; i < n; ++i) {
            double v = x[int64_t(i) * stride] - mean;
            squares.add(v);
            out[i] = v;
        }
        double* sl = slope + SLOPE_HISTORY;
        for (int32_t i = 0; i < n; ++i)
            sl[i] = slopeTimesTen(out[i], out[i - 1], out[i - 3], out[i - 4]);
        double* change = signChange + CHANGE_HISTORY;
        for (int32_t i = 0; i < n; ++i)
            change[i] = eitherChangesSign(out[i], out[i - 1], sl[i], sl[i - 1]);
        // Gathered without branches: the positions come in short, irregular
        // runs that a branch per position would mispredict at every end.
        mayCount = 0;
        for (int32_t i = 0; i < n; ++i) {
            mayCross[mayCount] = i;
            mayCount += change[i] + change[i - 1] + change[i - 2] != 0;
        }
    }

    // The last positions of a block of n become the next block's history.
    void carry(int32_t n) {
        std::memmove(d, d + n, sizeof(double) * VALUE_HISTORY);
        std::memmove(slope, slope + n, sizeof(double) * SLOPE_HISTORY);
        std::memmove(signChange, signChange + n, sizeof(double) * CHANGE_HISTORY);
    }
};

// The value line at position k, whose newest value is v[0].
void testValueLine(WaveState& w, int32_t k, const double* v) {
    double level = lineLevel(v[0], v[-1], v[-2], v[-3]);
    double next = lineNext(v[0], v[-1], v[-2], v[-3]);
    if (lineCrosses(level, next)) recordCrossing(w, k + lineRoot(level, next));
}

// Whether the line through four slopes may cross, judged on the slopes times
// ten before they are divided: false when that line is clear of 0 at both
// ends by far more than the rounding the division and the sums can bring, so
// that the line of the divided slopes is on the same side (the absolute part
// of the margin covers slopes whose tenth is subnormal).
bool slopeLineMayCross(double a, double b, double c, double e) {
    double level = lineLevel(a, b, c, e), next = lineNext(a, b, c, e);
    double margin = 1e-9 * (std::fabs(a) + std::fabs(b) + std::fabs(c) + std::fabs(e)) + 1e-300;
    bool above = level > margin && next > margin;
    bool below = level < -margin && next < -margin;
    return !(above || below);
}

// The slope line at the position whose newest value is v[0] and newest slope
// (times ten) sl[0]. The slopes are divided out only where their line may
// cross.
void testSlopeLine(WaveState& w, const double* v, const double* sl) {
    if (!slopeLineMayCross(sl[0], sl[-1], sl[-2], sl[-3])) return;
    double s0 = sl[0] / 10, s1 = sl[-1] / 10, s2 = sl[-2] / 10, s3 = sl[-3] / 10;
    double level = lineLevel(s0, s1, s2, s3);
    double next = lineNext(s0, s1, s2, s3);
    // The slopes trail the values by two samples, so the third newest slope
    // is at the sample the value parabola is centred on.
    if (lineCrosses(level, next))
        considerExtreme(w, parabolaValue(v[-5], v[-4], v[-3], v[-2], lineRoot(level, next)));
}

template <typename Sum> void scanWaves(const SignalStatistics& s, WaveState& w, Sum& squares) {
    auto block = std::make_unique<WaveBlock>();
    block->start(s, squares);
    for (int32_t first = 9; first < s.count; first += WAVE_BLOCK) {
        const int32_t n = std::min(WAVE_BLOCK, s.count - first);
        block->fill(s.values + int64_t(first) * s.stride, s.stride, n, s.mean, squares);
        for (int32_t j = 0; j < block->mayCount; ++j) {
            const int32_t i = block->mayCross[j];
            testValueLine(w, first + i, block->values(i));
            testSlopeLine(w, block->values(i), block->slopes(i));
        }
        block->carry(n);
    }
}

bool usableRate(double rate) {
    return std::isfinite(rate) && rate > 0;
}

template <typename Sum> void waveGroup(SignalStatistics& s, Sum& squares) {
    WaveState w;
    w.dt = 1 / s.sampleRate;
    scanWaves(s, w, squares);
    s.heightMin = w.heights.minimum;
    s.heightMax = w.heights.maximum;
    s.heightMean = w.heights.average();
    s.heightCount = w.heights.count;
    s.valid |= STAT_HEIGHTS;
    if (!usableRate(s.sampleRate)) return;
    s.periodMin = w.periods.minimum;
    s.periodMax = w.periods.maximum;
    s.periodMean = w.periods.average();
    s.periodCount = w.periods.count;
    s.valid |= STAT_PERIODS;
}

} // namespace

void computeStatistics(SignalStatistics& stats, uint32_t request) {
    clearResults(stats);
    if (!stats.values || stats.count < 1 || stats.stride < 1) return;
    signalGroup(stats);
    if (stats.count == 1) return;
    const bool deviation = request & STAT_DEVIATION;
    const bool waves = (request & STAT_WAVES) && stats.count >= STAT_MIN_WAVE_COUNT;
    if (deviation && waves) {
        Squares squares;
        waveGroup(stats, squares);
        setDeviation(stats, squares);
        return;
    }
    if (deviation) deviationGroup(stats);
    NoSquares none;
    if (waves) waveGroup(stats, none);
}

bool prepareStatistics(SignalStatistics& stats, const CMeasure& m, const BlockRange& block) {
    const ChannelValues v = m.values(block.channel);
    if (!v) return false;
    RowWalk walk = clampRows(block.from, block.to, m.sampleCount);
    if (walk.count <= 0) return false;
    int32_t lo = walk.step > 0 ? walk.first : walk.first - (walk.count - 1);
    stats.values = &v[lo];
    stats.count = walk.count;
    stats.stride = v.stride;
    stats.sampleRate = m.sampleRate;
    return true;
}
