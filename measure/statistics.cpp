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

// Ten times the least-squares line through the four newest entries, at the
// position of the third newest (level) and of the second newest (next).
double lineLevel(const StatisticsRing& r) {
    return r.back(0) + 2 * r.back(1) + 3 * r.back(2) + 4 * r.back(3);
}
double lineNext(const StatisticsRing& r) {
    return 4 * r.back(0) + 3 * r.back(1) + 2 * r.back(2) + r.back(3);
}

// Where the line through the four newest entries is zero, in samples after
// the position of the third newest. Only called when crossesZero holds, so
// the line is not level and the divisor is not 0.
double lineRoot(const StatisticsRing& r) {
    double e = lineLevel(r);
    return -e / (lineNext(r) - e);
}

} // namespace

bool crossesZero(const StatisticsRing& ring) {
    double e = lineLevel(ring);
    double next = lineNext(ring);
    // Signs compared rather than the product, which underflows for tiny values.
    if (e < 0) return next > 0;
    if (e > 0) return next < 0;
    return e == 0 && next != 0;
}

double quadraticValue(const StatisticsRing& ring, double t) {
    double g = ring.back(5);
    double f = ring.back(4);
    double e = ring.back(3);
    double d = ring.back(2);
    return ((-3 * d + 9 * e + 11 * f + 3 * g) + t * (d + 7 * e + 3 * f - 11 * g) +
            t * t * (5 * d - 5 * e - 5 * f + 5 * g)) /
           20;
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
    StatisticsRing values;    // d(i) = x(i) - mean
    StatisticsRing slopes;    // five-sample slopes, two samples behind the values
    StatisticsRing crossings; // recorded crossing times, in samples
    StatisticsRing extremes;  // recorded crests and troughs, relative to the mean
    RunningGroup heights;
    RunningGroup periods;
    double dt = 0;
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

void startWaves(const SignalStatistics& s, WaveState& w) {
    double d[9];
    for (int i = 0; i < 9; ++i)
        d[i] = valueAt(s, i) - s.mean;
    for (int j = 2; j <= 6; ++j)
        w.slopes.push(slopeAt(d, j));
    for (int i = 2; i <= 8; ++i)
        w.values.push(d[i]);
}

void checkCrossing(WaveState& w, int32_t k) {
    if (!crossesZero(w.values)) return;
    // The time is offset by a constant from the true crossing; periods are
    // differences, so the offset cancels.
    double time = k + lineRoot(w.values);
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

void checkExtreme(WaveState& w) {
    if (!crossesZero(w.slopes)) return;
    // The slope ring trails the value ring by two samples, so its third
    // newest slot is the sample the value parabola is centred on.
    double extreme = quadraticValue(w.values, lineRoot(w.slopes));
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

void stepWaves(WaveState& w, int32_t k, double value) {
    w.values.push(value);
    checkCrossing(w, k);
    const StatisticsRing& d = w.values;
    w.slopes.push((2 * (d.back(0) - d.back(4)) + (d.back(1) - d.back(3))) / 10);
    checkExtreme(w);
}

bool usableRate(double rate) {
    return std::isfinite(rate) && rate > 0;
}

void waveGroup(SignalStatistics& s) {
    WaveState w;
    w.dt = 1 / s.sampleRate;
    startWaves(s, w);
    for (int32_t k = 9; k < s.count; ++k)
        stepWaves(w, k, valueAt(s, k) - s.mean);
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
