#include "measure/statistics.h"
#include "measure/statistics_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

const double PI = 3.141592653589793;

std::vector<Sample> samplesOf(int n, const std::function<double(int)>& f) {
    std::vector<Sample> v(n);
    for (int i = 0; i < n; ++i)
        v[i] = Sample{float(f(i)), 0.0f};
    return v;
}

SignalStatistics recordOf(const std::vector<Sample>& v, double rate = 1.0) {
    SignalStatistics s{};
    s.values = v.empty() ? nullptr : &v[0].re;
    s.count = int32_t(v.size());
    s.stride = 2; // the real parts of complex pairs
    s.sampleRate = rate;
    return s;
}

SignalStatistics computed(const std::vector<Sample>& v, double rate = 1.0,
                          uint32_t request = STAT_ALL) {
    SignalStatistics s = recordOf(v, rate);
    computeStatistics(s, request);
    return s;
}

// a·sin(2π(i + 0.25)/n) over whole periods: no crossing or crest on a sample.
std::vector<Sample> sine(double a, int perPeriod, int waves) {
    return samplesOf(perPeriod * waves,
                     [&](int i) { return a * std::sin(2 * PI * (i + 0.25) / perPeriod); });
}

} // namespace

TEST(StatisticsSignal, FourValuesUseDivisorN) {
    // Hand calculation: mean 10/4; squared deviations 2.25+0.25+0.25+2.25 = 5, /4.
    SignalStatistics s = computed(samplesOf(4, [](int i) { return i + 1; }));
    EXPECT_EQ(s.valid, STAT_SIGNAL | STAT_DEVIATION);
    EXPECT_EQ(s.minimum, 1.0);
    EXPECT_EQ(s.maximum, 4.0);
    EXPECT_DOUBLE_EQ(s.mean, 2.5);
    EXPECT_DOUBLE_EQ(s.deviation, std::sqrt(1.25));
}

TEST(StatisticsSignal, OneSampleOrNothingToRead) {
    std::vector<Sample> v = samplesOf(20, [](int i) { return -3.5 + i; });
    SignalStatistics s = computed({v[0]});
    EXPECT_EQ(s.valid, STAT_SIGNAL); // no deviation of a single value
    EXPECT_EQ(s.mean, -3.5);
    auto validOf = [&](const Sample* values, int32_t count, int32_t stride) {
        SignalStatistics r = recordOf(v);
        r.values = values ? &values->re : nullptr;
        r.count = count;
        r.stride = 2 * stride;
        computeStatistics(r, STAT_ALL);
        return r.valid;
    };
    EXPECT_EQ(validOf(nullptr, 20, 1), 0u);
    EXPECT_EQ(validOf(v.data(), 0, 1), 0u);
    EXPECT_EQ(validOf(v.data(), -5, 1), 0u);
    EXPECT_EQ(validOf(v.data(), 20, 0), 0u);
}

TEST(StatisticsSignal, RequestChoosesTheGroups) {
    std::vector<Sample> v = sine(1.0, 20, 5);
    EXPECT_EQ(computed(v, 20, 0).valid, STAT_SIGNAL);
    EXPECT_EQ(computed(v, 20, STAT_DEVIATION).valid, STAT_SIGNAL | STAT_DEVIATION);
    // Any one wave bit brings all six.
    SignalStatistics s = computed(v, 20, 0x10);
    EXPECT_EQ(s.valid, STAT_SIGNAL | STAT_WAVES);
    EXPECT_GT(s.periodCount, 0);
    EXPECT_EQ(s.deviation, 0.0);
}

TEST(StatisticsWaves, NeedTenSamplesAndPeriodsASampleRate) {
    std::vector<Sample> v = samplesOf(10, [](int i) { return std::sin(i); });
    EXPECT_EQ(computed(v).valid, STAT_ALL);
    v.pop_back();
    EXPECT_EQ(computed(v).valid, STAT_SIGNAL | STAT_DEVIATION);
    // Without a time scale the heights stand; the periods are not measured.
    v = sine(1.0, 40, 5);
    const SignalStatistics timed = computed(v, 40.0);
    ASSERT_GT(timed.heightCount, 0);
    for (double rate : {0.0, -2.0, double(NAN), double(INFINITY)}) {
        SignalStatistics s = computed(v, rate);
        EXPECT_EQ(s.valid, STAT_SIGNAL | STAT_DEVIATION | STAT_HEIGHTS) << rate;
        EXPECT_EQ(s.heightCount, timed.heightCount);
        EXPECT_DOUBLE_EQ(s.heightMean, timed.heightMean);
        EXPECT_EQ(s.periodCount, 0);
        EXPECT_EQ(s.periodMean, 0.0);
    }
}

TEST(StatisticsWaves, CleanSineGivesItsPeriodAndHeight) {
    // 50 waves of 40 samples at 40 Hz: period 1 s, height 2a. The crossings lie
    // at 19.75 + 20k, k = 0..98 (the one at -0.25 is before the range), so 99
    // crossings and 97 periods; crests and troughs at 9.75 + 20k, k = 0..99,
    // all far enough from the ends to be seen, so 100 extremes and 98 heights.
    const double a = 0.5;
    SignalStatistics s = computed(sine(a, 40, 50), 40.0);
    EXPECT_EQ(s.valid, STAT_ALL);
    EXPECT_EQ(s.periodCount, 97);
    EXPECT_EQ(s.heightCount, 98);
    for (double p : {s.periodMin, s.periodMax, s.periodMean})
        EXPECT_NEAR(p, 1.0, 1e-4);
    // The four-point parabola misses the crest by about (2·2π/40)^4/24 of a.
    for (double h : {s.heightMin, s.heightMax, s.heightMean})
        EXPECT_NEAR(h, 2 * a, 1e-3);
    // Over whole periods: mean 0, deviation a/√2.
    EXPECT_NEAR(s.mean, 0.0, 1e-6);
    EXPECT_NEAR(s.deviation, a / std::sqrt(2.0), 1e-6);
}

TEST(StatisticsWaves, SineOffTheSampleGridKeepsItsPeriod) {
    // 37.3 samples per period at 10 Hz: the true period is 3.73 s, and the
    // crossings fall at ever-changing fractions of a sample. About 60 waves
    // give about twice as many periods and heights.
    std::vector<Sample> v =
        samplesOf(2238, [](int i) { return 2.0 + 0.07 * std::sin(2 * PI * i / 37.3); });
    SignalStatistics s = computed(v, 10.0);
    for (double p : {s.periodMin, s.periodMax})
        EXPECT_NEAR(p, 3.73, 0.01);
    EXPECT_NEAR(s.periodMean, 3.73, 0.002);
    EXPECT_NEAR(s.heightMean, 0.14, 0.001);
    EXPECT_NEAR(s.periodCount, 2 * 60, 4);
    EXPECT_NEAR(s.heightCount, 2 * 60, 4);
}

TEST(StatisticsWaves, LongAndShortWavesSpanTheGroups) {
    // 10 waves of 40 samples and height 2, then 20 waves of 20 samples and
    // height 1 (same slope at the joint, so it is smooth). Crossings at
    // 19.75 + 20k up to 399.75 (20 of them), then 409.75 + 10k up to 789.75
    // (39): 59 crossings, 57 periods. Each period is c(k) - c(k-2), so their sum
    // telescopes to c(59) + c(58) - c(2) - c(1) = 789.75 + 779.75 - 39.75 - 19.75.
    std::vector<Sample> v = samplesOf(800, [](int i) {
        return i < 400 ? std::sin(2 * PI * (i + 0.25) / 40)
                       : 0.5 * std::sin(2 * PI * (i - 400 + 0.25) / 20);
    });
    SignalStatistics s = computed(v, 1.0);
    EXPECT_EQ(s.periodCount, 57);
    EXPECT_NEAR(s.periodMin, 20, 0.02); // the crossing at the joint is fitted across it
    EXPECT_NEAR(s.periodMax, 40, 0.02);
    EXPECT_NEAR(s.periodMean, (789.75 + 779.75 - 39.75 - 19.75) / 57, 0.01);
    EXPECT_NEAR(s.heightMin, 1.0, 2e-3);
    EXPECT_NEAR(s.heightMax, 2.0, 2e-3);
}

TEST(StatisticsWaves, ConstantSignalHasNoWaves) {
    // 0.1 is not exact in binary, so the mean may differ from each value by a
    // rounding error; that must not look like a crossing.
    SignalStatistics s = computed(samplesOf(200, [](int) { return 0.1; }), 50.0);
    EXPECT_EQ(s.valid, STAT_ALL);
    EXPECT_EQ(s.periodCount, 0);
    EXPECT_EQ(s.heightCount, 0);
    EXPECT_EQ(s.periodMean, 0.0);
}

TEST(StatisticsWaves, CrossingWithinOneSampleOfTheLastIsIgnored) {
    // +1, -1, ...: every window (w0..w3 = ±1, ∓1, ±1, ∓1) crosses, with
    // e = ∓2, e' = ±2, so T = K + 0.5 at every K from 9. T - last = 1 is not
    // more than 1, so only K = 9, 11, ..., 19 record: 6 crossings, 4 periods
    // of 4 samples. The five-sample slopes are all 0: no extremes.
    SignalStatistics s = computed(samplesOf(20, [](int i) { return i % 2 ? -1 : 1; }), 2.0);
    EXPECT_EQ(s.mean, 0.0);
    EXPECT_EQ(s.periodCount, 4);
    for (double p : {s.periodMin, s.periodMax, s.periodMean})
        EXPECT_DOUBLE_EQ(p, 2.0);
    EXPECT_EQ(s.heightCount, 0);
}

namespace {

// sin t + 0.4 sin 3t has two equal crests per half-wave (the dip between stays
// at 0.6 above zero); b·sin 2t lifts one of them and lowers the other.
double twinCrest(double t, double b) {
    return std::sin(t) + 0.4 * std::sin(3 * t) + b * std::sin(2 * t);
}

void expectCrestToTroughHeights(double b) {
    const int perPeriod = 200;
    std::vector<Sample> v = samplesOf(
        perPeriod * 12, [&](int i) { return twinCrest(2 * PI * (i + 0.5) / perPeriod, b); });
    // The expected height: highest crest minus deepest trough of the curve,
    // from a fine scan of one period.
    double high = -10, low = 10;
    for (int i = 0; i < 100000; ++i) {
        double y = twinCrest(2 * PI * i / 100000, b);
        high = std::max(high, y);
        low = std::min(low, y);
    }
    SignalStatistics s = computed(v, 1.0);
    ASSERT_GT(s.heightCount, 15) << b;
    EXPECT_NEAR(s.heightMin, high - low, 2e-3) << b;
    EXPECT_NEAR(s.heightMax, high - low, 2e-3) << b;
    EXPECT_NEAR(s.periodMean, perPeriod, 0.01) << b;
}

} // namespace

TEST(StatisticsWaves, HigherOfTwoCrestsMakesTheHeight) {
    expectCrestToTroughHeights(-0.15); // second crest higher: it replaces the first
    expectCrestToTroughHeights(0.15);  // first crest higher: the second is passed over
}

TEST(StatisticsRing, CrossesZeroBetweenTheMiddleValues) {
    auto ring = [](double w3, double w2, double w1, double w0) {
        StatisticsRing r;
        for (double w : {w3, w2, w1, w0})
            r.push(w);
        return r;
    };
    EXPECT_TRUE(crossesZero(ring(-3, -1, 1, 3)));
    EXPECT_TRUE(crossesZero(ring(3, 1, -1, -3)));
    EXPECT_FALSE(crossesZero(ring(1, 2, 3, 4)));
    // -5, -3, -1, 1 crosses between the two newest, not the middle two:
    // e = 1 - 2 - 9 - 20 < 0 and e' = 4 - 3 - 6 - 5 < 0.
    EXPECT_FALSE(crossesZero(ring(-5, -3, -1, 1)));
    // Line exactly 0 at w2 (e = 0) and rising: a crossing; flat at 0: none.
    EXPECT_TRUE(crossesZero(ring(-1, 0, 1, 2)));
    EXPECT_FALSE(crossesZero(ring(0, 0, 0, 0)));
    // Tiny values whose product would underflow still cross.
    EXPECT_TRUE(crossesZero(ring(-3e-200, -1e-200, 1e-200, 3e-200)));
}

TEST(StatisticsRing, QuadraticValueReproducesAParabola) {
    // A least-squares parabola through points of a parabola is that parabola:
    // y = 2t² - 3t + 0.5 sampled at t = -1, 0, 1, 2 (oldest of the four first,
    // followed by two newer entries the fit does not use).
    auto y = [](double t) { return 2 * t * t - 3 * t + 0.5; };
    StatisticsRing r;
    for (double v : {y(-1), y(0), y(1), y(2), 99.0, -99.0})
        r.push(v);
    for (double t : {-1.0, 0.0, 0.37, 1.0, 2.5})
        EXPECT_NEAR(quadraticValue(r, t), y(t), 1e-12) << t;
}

namespace {

void fillRows(CMeasure& m, int channels, int rows) {
    m.channelCount = channels;
    m.sampleCount = rows;
    m.sampleRate = 25.0;
    ASSERT_TRUE(m.allocateSamples());
    for (int j = 0; j < rows; ++j)
        for (int c = 0; c < channels; ++c)
            m.setSample(c, j, Sample{float(100 * c + j), 0.0f});
}

} // namespace

TEST(StatisticsBlock, RangeTakenUpwardsAndClamped) {
    CMeasure m;
    fillRows(m, 3, 20);
    SignalStatistics s{};
    ASSERT_TRUE(prepareStatistics(s, m, BlockRange{1, 5, 15}));
    EXPECT_EQ(s.values, &m.values(1)[5]);
    EXPECT_EQ(s.count, 10);
    EXPECT_EQ(s.stride, m.values(1).stride);
    computeStatistics(s, STAT_ALL);
    EXPECT_EQ(s.minimum, 105.0); // rows 5..14 of channel 1
    EXPECT_EQ(s.maximum, 114.0);

    // Backwards: the same rows.
    SignalStatistics back{};
    ASSERT_TRUE(prepareStatistics(back, m, BlockRange{1, 15, 5}));
    EXPECT_EQ(back.values, s.values);
    EXPECT_EQ(back.count, s.count);

    // Bounds beyond the measurement are cut to it.
    ASSERT_TRUE(prepareStatistics(s, m, BlockRange{2, 30, -4}));
    EXPECT_EQ(s.values, &m.values(2)[0]);
    EXPECT_EQ(s.count, 20);
}

TEST(StatisticsBlock, NothingToAnalyse) {
    CMeasure m;
    fillRows(m, 2, 8);
    SignalStatistics s{};
    EXPECT_FALSE(prepareStatistics(s, m, BlockRange{2, 0, 8})); // no such channel
    EXPECT_FALSE(prepareStatistics(s, m, BlockRange{-1, 0, 8}));
    EXPECT_FALSE(prepareStatistics(s, m, BlockRange{0, 3, 3}));  // empty
    EXPECT_FALSE(prepareStatistics(s, m, BlockRange{0, 9, 12})); // wholly past the end
    EXPECT_EQ(s.values, nullptr);
}

namespace {

// The wave pass written step by step on the public ring helpers, one ring per
// series, as the statistics were first written: the oracle for the streamed
// pass, which must give the same counts and the same bits.
struct RingWaves {
    StatisticsRing values, slopes, crossings, extremes;
    std::vector<double> heights, periods;

    void extreme(double e) {
        if (extremes.entries > 0) {
            double last = extremes.back(0);
            if (last > 0 ? e > 0 : e < 0) {
                if (last > 0 ? e > last : e < last) extremes.replaceNewest(e);
                return;
            }
        }
        extremes.push(e);
        if (extremes.entries >= 3)
            heights.push_back(std::fabs(extremes.back(1) - extremes.back(2)));
    }

    void step(int k, double d, double dt) {
        values.push(d);
        if (crossesZero(values)) {
            double level =
                values.back(0) + 2 * values.back(1) + 3 * values.back(2) + 4 * values.back(3);
            double next =
                4 * values.back(0) + 3 * values.back(1) + 2 * values.back(2) + values.back(3);
            double time = k + -level / (next - level);
            if (crossings.entries == 0 || time - crossings.back(0) > 1) {
                crossings.push(time);
                if (crossings.entries >= 3) periods.push_back((time - crossings.back(2)) * dt);
            }
        }
        const StatisticsRing& v = values;
        slopes.push((2 * (v.back(0) - v.back(4)) + (v.back(1) - v.back(3))) / 10);
        if (crossesZero(slopes)) {
            double level =
                slopes.back(0) + 2 * slopes.back(1) + 3 * slopes.back(2) + 4 * slopes.back(3);
            double next =
                4 * slopes.back(0) + 3 * slopes.back(1) + 2 * slopes.back(2) + slopes.back(3);
            extreme(quadraticValue(values, -level / (next - level)));
        }
    }
};

RingWaves ringWaves(const std::vector<Sample>& v, int stride, int column, double mean,
                    double rate) {
    RingWaves w;
    const int n = int(v.size()) / stride;
    std::vector<double> d(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        d[size_t(i)] = v[size_t(i * stride + column)].re - mean;
    for (int j = 2; j <= 6; ++j)
        w.slopes.push(
            (2 * (d[size_t(j + 2)] - d[size_t(j - 2)]) + (d[size_t(j + 1)] - d[size_t(j - 1)])) /
            10);
    for (int i = 2; i <= 8; ++i)
        w.values.push(d[size_t(i)]);
    for (int k = 9; k < n; ++k)
        w.step(k, d[size_t(k)], 1 / rate);
    return w;
}

// Compares one record's wave results with the ring pass's, bit for bit.
void expectRingResults(const std::vector<Sample>& v, int stride, int column, int n) {
    SignalStatistics s{};
    s.values = &v[size_t(column)].re;
    s.count = n;
    s.stride = 2 * stride;
    s.sampleRate = 50.0;
    computeStatistics(s, STAT_ALL);
    RingWaves w = ringWaves(std::vector<Sample>(v.begin(), v.begin() + n * stride), stride, column,
                            s.mean, 50.0);
    auto sum = [](const std::vector<double>& x) {
        double total = 0;
        for (double e : x)
            total += e;
        return total;
    };
    EXPECT_EQ(s.heightCount, int32_t(w.heights.size()));
    EXPECT_EQ(s.periodCount, int32_t(w.periods.size()));
    if (w.heights.empty() || w.periods.empty()) return;
    EXPECT_EQ(s.heightMin, *std::min_element(w.heights.begin(), w.heights.end()));
    EXPECT_EQ(s.heightMax, *std::max_element(w.heights.begin(), w.heights.end()));
    EXPECT_EQ(s.heightMean, sum(w.heights) / double(w.heights.size()));
    EXPECT_EQ(s.periodMin, *std::min_element(w.periods.begin(), w.periods.end()));
    EXPECT_EQ(s.periodMax, *std::max_element(w.periods.begin(), w.periods.end()));
    EXPECT_EQ(s.periodMean, sum(w.periods) / double(w.periods.size()));
    // The deviation summed along the wave pass is the one of its own pass.
    SignalStatistics alone = s;
    computeStatistics(alone, STAT_DEVIATION);
    EXPECT_EQ(s.deviation, alone.deviation);
}

} // namespace

TEST(StatisticsWaves, StreamedPassGivesTheRingPassBitForBit) {
    // Irregular waves with noise, read from the second of three interleaved
    // channels; the ring pass above decides every count and value. Lengths
    // end on either side of where the samples are taken in pieces; tiny
    // (subnormal in float) and huge amplitudes keep the skipped positions
    // honest where products of neighbours leave the normal range; noise alone
    // crosses at nearly every sample, also where one piece meets the next;
    // waves rounded to whole numbers give slopes of exactly 0 between
    // slopes of either sign.
    std::mt19937 gen(5);
    std::normal_distribution<double> noise(0.0, 0.05);
    const int n = 20000, stride = 3;
    auto waves = [&](int i) {
        return 0.3 + std::sin(0.05 * i) + 0.4 * std::sin(0.13 * i + 1) + noise(gen);
    };
    const std::vector<std::pair<const char*, std::function<double(int)>>> signals = {
        {"waves", waves},
        {"tiny waves", [&](int i) { return 1e-41 * waves(i); }},
        {"huge waves", [&](int i) { return 1e30 * waves(i); }},
        {"noise", [&](int) { return noise(gen); }},
        {"rounded waves", [&](int i) { return std::round(3 * waves(i)); }},
    };
    for (const auto& signal : signals) {
        std::vector<Sample> v(size_t(n * stride), Sample{9e9f, 0.0f});
        for (int i = 0; i < n; ++i)
            v[size_t(i * stride + 1)].re = float(signal.second(i));
        for (int count : {10, 11, 2056, 2057, 2058, 4105, 4106, n}) {
            SCOPED_TRACE(testing::Message() << signal.first << ", " << count << " samples");
            expectRingResults(v, stride, 1, count);
        }
    }
}

TEST(StatisticsWaves, ManyWavesInTheRingPassAtFullLength) {
    // The ring pass must see enough waves for the comparison to mean something.
    std::mt19937 gen(5);
    std::normal_distribution<double> noise(0.0, 0.05);
    std::vector<Sample> v = samplesOf(20000, [&](int i) {
        return 0.3 + std::sin(0.05 * i) + 0.4 * std::sin(0.13 * i + 1) + noise(gen);
    });
    SignalStatistics s = computed(v, 50.0);
    EXPECT_GT(s.heightCount, 100);
    EXPECT_GT(s.periodCount, 100);
}

TEST(StatisticsSignal, ExtremesKeepTheFirstSampleOfTheirValue) {
    // A zero compares equal to a zero of the other sign: the first one met
    // is the extreme, whichever lane of the pass it falls in; a NaN first
    // sample stays the result, a later one is passed over.
    const float nan = std::nanf("");
    struct Case {
        std::vector<float> values;
        float minimum, maximum;
    };
    const std::vector<Case> cases = {
        {{1, -0.0f, 0.0f, 2}, -0.0f, 2},   {{1, 0.0f, -0.0f, 2}, 0.0f, 2},
        {{3, 2, 1, 0.0f, -0.0f}, 0.0f, 3}, {{-1, -0.0f, 0.0f, -2, -3}, -3, -0.0f},
        {{-1, -2, 0.0f, -0.0f}, -2, 0.0f}, {{0.0f, -0.0f}, 0.0f, 0.0f},
        {{-0.0f, 5, 0.0f}, -0.0f, 5},      {{nan, 1, -1}, nan, nan},
        {{1, nan, -1, 4, nan}, -1, 4},     {{7}, 7, 7},
    };
    for (const Case& c : cases) {
        std::vector<Sample> v;
        for (float x : c.values)
            v.push_back(Sample{x, 0.0f});
        SignalStatistics s = computed(v, 1.0, 0);
        auto bits = [](double x) {
            uint64_t b;
            std::memcpy(&b, &x, sizeof b);
            return std::isnan(x) ? ~uint64_t(0) : b;
        };
        EXPECT_EQ(bits(s.minimum), bits(c.minimum)) << "first value " << c.values[0];
        EXPECT_EQ(bits(s.maximum), bits(c.maximum)) << "first value " << c.values[0];
    }
}
