#include "measure/channel_extremes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

const float NAN_F = std::numeric_limits<float>::quiet_NaN();
const float INF_F = std::numeric_limits<float>::infinity();

// The ranges as one plain pass over the rows in order gives them: the real
// part, then the imaginary part, against the extremes so far; the modulus in
// double precision.
std::vector<ChannelRange> onePass(const CMeasure& m) {
    std::vector<ChannelRange> out;
    for (int c = 0; c < m.channelCount; ++c) {
        float low = INF_F, high = -INF_F;
        double mod2 = 0;
        for (int32_t j = 0; j < m.sampleCount; ++j) {
            const Sample s = m.sample(c, j);
            if (s.re < low) low = s.re;
            if (s.im < low) low = s.im;
            if (s.re > high) high = s.re;
            if (s.im > high) high = s.im;
            double m2 = double(s.re) * s.re + double(s.im) * s.im;
            if (m2 > mod2) mod2 = m2;
        }
        bool any = low <= high;
        out.push_back({any ? low : 0.0f, any ? high : 0.0f, float(std::sqrt(mod2))});
    }
    return out;
}

uint32_t bitsOf(float x) {
    uint32_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

// Equal bit for bit, so that a zero's sign counts.
void expectSameRanges(const std::vector<ChannelRange>& expected, const ChannelRange* got,
                      const char* how) {
    for (size_t c = 0; c < expected.size(); ++c) {
        SCOPED_TRACE(testing::Message() << how << ", channel " << c);
        EXPECT_EQ(bitsOf(got[c].low), bitsOf(expected[c].low)) << got[c].low;
        EXPECT_EQ(bitsOf(got[c].high), bitsOf(expected[c].high)) << got[c].high;
        EXPECT_EQ(bitsOf(got[c].modulus), bitsOf(expected[c].modulus)) << got[c].modulus;
    }
}

CMeasure* measureOf(CMeasure& m, int channels, int32_t rows, int8_t format) {
    m.channelCount = channels;
    m.sampleCount = rows;
    m.sampleFormat = format;
    m.allocateSamples();
    return &m;
}

// Real values with the awkward ones mixed in: zeros of both signs, NaN,
// infinities; channel c is shifted so that some channels never go below 0
// (their low is a zero) and some never above.
void fillAwkward(CMeasure& m, uint32_t seed, bool complexChannel) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    std::uniform_int_distribution<int> pick(0, 199);
    for (int32_t j = 0; j < m.sampleCount; ++j) {
        for (int c = 0; c < m.channelCount; ++c) {
            float v = value(gen);
            int p = pick(gen);
            if (c % 3 == 1) v = std::fabs(v);  // never below 0
            if (c % 3 == 2) v = -std::fabs(v); // never above 0
            if (p == 0) v = NAN_F;
            if (p == 1) v = 0.0f;
            if (p == 2) v = -0.0f;
            if (p == 3 && c % 4 == 3) v = c % 2 ? INF_F : -INF_F;
            // The imaginary parts are zeros, of either sign.
            float im = (j + c) % 5 == 0 ? -0.0f : 0.0f;
            if (complexChannel && c == m.channelCount - 1 && j % 7 == 3) im = value(gen);
            m.setSample(c, j, Sample{v, im});
        }
    }
}

// Rows 0 of every channel start with the cases that decide a zero extreme's sign.
void startWithZeros(CMeasure& m) {
    const Sample firsts[] = {{-0.0f, 0.0f},  {0.0f, -0.0f}, {NAN_F, -0.0f},
                             {-0.0f, -0.0f}, {2.0f, -0.0f}, {NAN_F, 0.0f}};
    for (int c = 0; c < m.channelCount; ++c)
        m.setSample(c, 0, firsts[c % 6]);
}

} // namespace

TEST(ChannelExtremes, RangesAreThoseOfOnePassInRowOrder) {
    // Channel counts around the groups of four the lanes are walked in.
    for (int channels : {1, 3, 4, 5, 8, 16, 17}) {
        for (bool complexChannel : {false, true}) {
            CMeasure m;
            measureOf(m, channels, 1001, SAMPLE_FORMAT_REAL);
            fillAwkward(m, uint32_t(channels), complexChannel);
            startWithZeros(m);
            SCOPED_TRACE(testing::Message()
                         << channels << " channels" << (complexChannel ? ", one complex" : ""));
            std::vector<ChannelRange> expected = onePass(m);
            ChannelRange got[MAX_CHANNELS];
            channelRanges(m, m.sampleCount, nullptr, got);
            expectSameRanges(expected, got, "own pass");
            m.sampleFormat = SAMPLE_FORMAT_COMPLEX;
            channelRanges(m, m.sampleCount, nullptr, got);
            expectSameRanges(expected, got, "complex layout");
        }
    }
}

TEST(ChannelExtremes, PiecesGatheredInAnyOrderGiveTheSameRanges) {
    // Pieces that start and end inside rows, taken last first and joined the
    // way a reader's threads join them.
    for (int channels : {3, 16}) {
        CMeasure m;
        measureOf(m, channels, 997, SAMPLE_FORMAT_REAL);
        fillAwkward(m, 7, false);
        startWithZeros(m);
        const int64_t total = int64_t(channels) * m.sampleCount;
        std::vector<int64_t> cuts = {0, 1, 2, 50, 51, 1000, 1013, total / 2 + 3, total};
        ChannelExtremes even(channels), odd(channels), real(channels);
        std::vector<float> realParts(static_cast<size_t>(total));
        std::vector<Sample> rows(static_cast<size_t>(total));
        for (int64_t i = 0; i < total; ++i) {
            rows[size_t(i)] = m.sample(int(i % channels), i / channels);
            realParts[size_t(i)] = rows[size_t(i)].re;
        }
        for (size_t k = cuts.size() - 1; k > 0; --k) {
            int64_t from = cuts[k - 1], count = cuts[k] - cuts[k - 1];
            (k % 2 ? odd : even).add(rows.data() + from, count, from);
            real.addRealParts(reinterpret_cast<const unsigned char*>(realParts.data() + from),
                              count, from);
        }
        even.join(odd);
        std::vector<ChannelRange> expected = onePass(m);
        ChannelRange got[MAX_CHANNELS];
        channelRanges(m, m.sampleCount, &even, got);
        expectSameRanges(expected, got, "joined pieces");
        channelRanges(m, m.sampleCount, &real, got);
        expectSameRanges(expected, got, "real parts alone");
        // Extremes of another channel count are not the measurement's.
        ChannelExtremes other(channels + 1);
        channelRanges(m, m.sampleCount, &other, got);
        expectSameRanges(expected, got, "other channel count");
    }
}

TEST(ChannelExtremes, LargeBlocksSplitOverTwoThreadsStayExact) {
    // Past the size where two threads share the pass: once all real, once
    // with a complex channel found late, after the lanes' first stretches.
    CMeasure m;
    measureOf(m, 3, 1500001, SAMPLE_FORMAT_REAL);
    fillAwkward(m, 3, false);
    startWithZeros(m);
    ChannelRange got[MAX_CHANNELS];
    channelRanges(m, m.sampleCount, nullptr, got);
    expectSameRanges(onePass(m), got, "real");
    CMeasure late;
    measureOf(late, 3, m.sampleCount, SAMPLE_FORMAT_COMPLEX);
    for (int c = 0; c < 3; ++c)
        for (int32_t j = 0; j < m.sampleCount; ++j)
            late.setSample(c, j, m.sample(c, j));
    late.setSample(2, 1400000, Sample{0.5f, -9.0f});
    channelRanges(late, late.sampleCount, nullptr, got);
    std::vector<ChannelRange> expected = onePass(late);
    EXPECT_EQ(expected[2].low, -9.0f);
    expectSameRanges(expected, got, "one complex sample");
}

TEST(ChannelExtremes, NoRowsOrNoNumbersGiveZeros) {
    CMeasure m;
    measureOf(m, 2, 4, SAMPLE_FORMAT_REAL);
    for (int32_t j = 0; j < 4; ++j) {
        m.setSample(0, j, Sample{NAN_F, 0.0f});
        m.setSample(1, j, Sample{5.0f - j, 0.0f});
    }
    ChannelRange got[MAX_CHANNELS];
    channelRanges(m, 4, nullptr, got);
    // Only NaN real parts: the zeros of the imaginary parts are the range.
    EXPECT_EQ(got[0].low, 0.0f);
    EXPECT_EQ(got[0].high, 0.0f);
    EXPECT_EQ(got[0].modulus, 0.0f);
    EXPECT_EQ(got[1].low, 0.0f); // 2 .. 5, and the zeros
    EXPECT_EQ(got[1].high, 5.0f);
    EXPECT_EQ(got[1].modulus, 5.0f);
    channelRanges(m, 0, nullptr, got);
    EXPECT_EQ(got[1].high, 0.0f);
}
