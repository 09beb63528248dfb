#include "measure/statistics.h"

#include <cmath>

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

// Two bits per entry for the four newest entries, the newest lowest: 01
// above 0, 10 below, 00 neither. When all four share a sign, the lines
// through them, sums of those entries with positive weights, share it too:
// they cannot cross, and their arithmetic is skipped.
struct SignMasks {
    static constexpr unsigned ALL_ABOVE = 0x55, ALL_BELOW = 0xAA;
    unsigned bits = 0;

    void push(double value) {
        bits = (bits << 2 | unsigned(value > 0) | unsigned(value < 0) << 1) & 0xFF;
    }
    bool mayCross() const { return bits != ALL_ABOVE && bits != ALL_BELOW; }
};

// Ten times the five-sample slope centred on b2 of the values b0 (newest) .. b4.
double slopeTimesTen(double b0, double b1, double b3, double b4) {
    return 2 * (b0 - b4) + (b1 - b3);
}

// The eight newest values d(i) = x(i) - mean, newest first, and the signs of
// the four newest values and of the four newest slopes (centred two samples
// behind). Kept in plain variables rather than rings: the pass over the
// samples is the statistics' hot loop. A slope is divided out only when its
// line may cross; its sign is the sign of its numerator (a numerator that
// underflows to 0 when divided leaves the lines on the same side of 0).
struct WaveWindow {
    double v0, v1, v2, v3, v4, v5, v6, v7;
    SignMasks valueSigns, slopeSigns;

    void push(double value) {
        v7 = v6;
        v6 = v5;
        v5 = v4;
        v4 = v3;
        v3 = v2;
        v2 = v1;
        v1 = v0;
        v0 = value;
        valueSigns.push(v0);
        slopeSigns.push(slopeTimesTen(v0, v1, v3, v4));
    }
    // The slope `age` places before the newest, age 0..3.
    double s0() const { return slopeTimesTen(v0, v1, v3, v4) / 10; }
    double s1() const { return slopeTimesTen(v1, v2, v4, v5) / 10; }
    double s2() const { return slopeTimesTen(v2, v3, v5, v6) / 10; }
    double s3() const { return slopeTimesTen(v3, v4, v6, v7) / 10; }
};

double valueAt(const SignalStatistics& s, int32_t i) {
    return s.values[int64_t(i) * s.stride].re;
}

void clearResults(SignalStatistics& s) {
    s.valid = 0;
    s.minimum = s.maximum = s.mean = s.deviation = 0;
    s.heightMin = s.heightMax = s.heightMean = 0;
    s.periodMin = s.periodMax = s.periodMean = 0;
    s.heightCount = s.periodCount = 0;
}

void signalGroup(SignalStatistics& s) {
    double first = valueAt(s, 0);
    double minimum = first, maximum = first, sum = first;
    for (int32_t i = 1; i < s.count; ++i) {
        double x = valueAt(s, i);
        if (x < minimum) {
            minimum = x;
        } else if (x > maximum) {
            maximum = x;
        }
        sum += x;
    }
    s.minimum = minimum;
    s.maximum = maximum;
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

// The window after the first nine values: values 8 .. 1.
template <typename Sum> WaveWindow startWaves(const SignalStatistics& s, Sum& squares) {
    WaveWindow b{};
    squares.add(valueAt(s, 0) - s.mean);
    for (int i = 1; i < 9; ++i) {
        double d = valueAt(s, i) - s.mean;
        squares.add(d);
        b.push(d);
    }
    return b;
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

template <typename Sum> void scanWaves(const SignalStatistics& s, WaveState& w, Sum& squares) {
    WaveWindow b = startWaves(s, squares);
    const double mean = s.mean;
    const Sample* x = s.values + int64_t(9) * s.stride;
    for (int32_t k = 9; k < s.count; ++k, x += s.stride) {
        double d = x->re - mean;
        squares.add(d);
        b.push(d);
        if (b.valueSigns.mayCross()) {
            double level = lineLevel(b.v0, b.v1, b.v2, b.v3);
            double next = lineNext(b.v0, b.v1, b.v2, b.v3);
            if (lineCrosses(level, next)) recordCrossing(w, k + lineRoot(level, next));
        }
        if (b.slopeSigns.mayCross()) {
            double s0 = b.s0(), s1 = b.s1(), s2 = b.s2(), s3 = b.s3();
            double level = lineLevel(s0, s1, s2, s3);
            double next = lineNext(s0, s1, s2, s3);
            // The slopes trail the values by two samples, so the third newest
            // slope is at the sample the value parabola is centred on.
            if (lineCrosses(level, next))
                considerExtreme(w, parabolaValue(b.v5, b.v4, b.v3, b.v2, lineRoot(level, next)));
        }
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
    if (!m.hasChannel(block.channel) || !m.samples) return false;
    RowWalk walk = clampRows(block.from, block.to, m.sampleCount);
    if (walk.count <= 0) return false;
    int32_t lo = walk.step > 0 ? walk.first : walk.first - (walk.count - 1);
    stats.values = &m.at(block.channel, lo);
    stats.count = walk.count;
    stats.stride = m.channelCount;
    stats.sampleRate = m.sampleRate;
    return true;
}
