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

// The six newest values d(i) = x(i) - mean and the four newest five-sample
// slopes (two samples behind the values), newest first. Kept in plain
// variables rather than rings: the pass over the samples is the statistics'
// hot loop.
struct WaveWindow {
    double v0, v1, v2, v3, v4, v5;
    double s0, s1, s2, s3;

    void push(double value) {
        v5 = v4;
        v4 = v3;
        v3 = v2;
        v2 = v1;
        v1 = v0;
        v0 = value;
        s3 = s2;
        s2 = s1;
        s1 = s0;
        s0 = (2 * (v0 - v4) + (v1 - v3)) / 10;
    }
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

void deviationGroup(SignalStatistics& s) {
    double squares = 0;
    for (int32_t i = 0; i < s.count; ++i) {
        double d = valueAt(s, i) - s.mean;
        squares += d * d;
    }
    s.deviation = std::sqrt(squares / s.count);
    s.valid |= STAT_DEVIATION;
}

// Least-squares slope over the five values centred on d[j].
double slopeAt(const double* d, int j) {
    return (2 * (d[j + 2] - d[j - 2]) + (d[j + 1] - d[j - 1])) / 10;
}

// The window after the first nine values: values 8 .. 3, slopes centred on 6 .. 3.
WaveWindow startWaves(const SignalStatistics& s) {
    double d[9];
    for (int i = 0; i < 9; ++i)
        d[i] = valueAt(s, i) - s.mean;
    return WaveWindow{d[8], d[7],          d[6],          d[5],          d[4],
                      d[3], slopeAt(d, 6), slopeAt(d, 5), slopeAt(d, 4), slopeAt(d, 3)};
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

void scanWaves(const SignalStatistics& s, WaveState& w) {
    WaveWindow b = startWaves(s);
    const double mean = s.mean;
    const Sample* x = s.values + int64_t(9) * s.stride;
    for (int32_t k = 9; k < s.count; ++k, x += s.stride) {
        b.push(x->re - mean);
        double level = lineLevel(b.v0, b.v1, b.v2, b.v3);
        double next = lineNext(b.v0, b.v1, b.v2, b.v3);
        if (lineCrosses(level, next)) recordCrossing(w, k + lineRoot(level, next));
        double slopeLevel = lineLevel(b.s0, b.s1, b.s2, b.s3);
        double slopeNext = lineNext(b.s0, b.s1, b.s2, b.s3);
        // The slopes trail the values by two samples, so the third newest
        // slope is at the sample the value parabola is centred on.
        if (lineCrosses(slopeLevel, slopeNext))
            considerExtreme(w,
                            parabolaValue(b.v5, b.v4, b.v3, b.v2, lineRoot(slopeLevel, slopeNext)));
    }
}

bool usableRate(double rate) {
    return std::isfinite(rate) && rate > 0;
}

void waveGroup(SignalStatistics& s) {
    WaveState w;
    w.dt = 1 / s.sampleRate;
    scanWaves(s, w);
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
    if (request & STAT_DEVIATION) deviationGroup(stats);
    if ((request & STAT_WAVES) && stats.count >= STAT_MIN_WAVE_COUNT) waveGroup(stats);
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
