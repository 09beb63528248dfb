#include "measure/finite_block.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Three channels of 10 rows, every value finite.
void fillFinite(CMeasure& m) {
    m.channelCount = 3;
    m.sampleCount = 10;
    m.sampleRate = 1.0;
    m.sampleFormat = SAMPLE_FORMAT_COMPLEX; // both parts are written
    ASSERT_TRUE(m.allocateSamples());
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 3; ++c)
            m.setSample(c, r, Sample{float(r + c), 0.0f});
}

} // namespace

TEST(FiniteBlock, NamesTheFirstRowAndChannelOfTheBlock) {
    CMeasure m;
    fillFinite(m);
    EXPECT_EQ(nonFiniteRefusal(m, {0, 1, 2}, 0, 10), "");
    const float inf = std::numeric_limits<float>::infinity();
    m.setSample(2, 3, Sample{std::nanf(""), 0.0f});
    m.setSample(1, 6, Sample{-inf, 0.0f});
    m.setSample(0, 0, Sample{inf, 0.0f});
    // Row 0 lies outside 1..10; rows are walked upwards whichever way the block runs.
    EXPECT_EQ(nonFiniteRefusal(m, {0, 1, 2}, 10, 1), "row 3 of channel 2 is not a finite number");
    EXPECT_EQ(nonFiniteRefusal(m, BlockRange{1, 1, 10}),
              "row 6 of channel 1 is not a finite number");
    EXPECT_EQ(nonFiniteRefusal(m, BlockRange{0, 0, 1}),
              "row 0 of channel 0 is not a finite number");
    EXPECT_EQ(nonFiniteRefusal(m, BlockRange{1, 0, 6}), ""); // the range ends before row 6
    NonFiniteValue bad = firstNonFinite(m, {1, 2}, 0, 10);
    EXPECT_EQ(bad.row, 3);
    EXPECT_EQ(bad.channel, 2);
}

TEST(FiniteBlock, ImaginaryPartsCountOnlyWhenAsked) {
    CMeasure m;
    fillFinite(m);
    m.setSample(1, 4, Sample{m.value(1, 4), std::nanf("")});
    EXPECT_EQ(nonFiniteRefusal(m, BlockRange{1, 0, 10}), "");
    EXPECT_EQ(nonFiniteRefusal(m, BlockRange{1, 0, 10}, true),
              "row 4 of channel 1 is not a finite number");
}

TEST(FiniteBlock, LongBlocksAreSearchedInPiecesWithoutMissingARow) {
    // Two channels of 10000 rows: the check goes over them piece by piece,
    // and a value at any place, either edge of a piece included, is found.
    CMeasure m;
    m.channelCount = 2;
    m.sampleCount = 10000;
    m.sampleRate = 1.0;
    m.sampleFormat = SAMPLE_FORMAT_COMPLEX; // both parts are written
    ASSERT_TRUE(m.allocateSamples());
    for (int r = 0; r < 10000; ++r)
        for (int c = 0; c < 2; ++c)
            m.setSample(c, r, Sample{3.0e38f, -3.0e38f}); // large, still finite
    EXPECT_EQ(firstNonFinite(m, {0, 1}, 0, 10000, true).row, -1);
    const float inf = std::numeric_limits<float>::infinity();
    for (int row : {0, 4095, 4096, 8191, 9999}) {
        m.setSample(1, row, Sample{m.value(1, row), -inf});
        NonFiniteValue bad = firstNonFinite(m, {0, 1}, 0, 10000, true);
        EXPECT_EQ(bad.row, row);
        EXPECT_EQ(bad.channel, 1);
        EXPECT_EQ(firstNonFinite(m, {0, 1}, 0, 10000, false).row, -1) << row;
        m.setSample(1, row, Sample{std::nanf(""), 0.0f});
        EXPECT_EQ(firstNonFinite(m, {0}, 0, 10000).row, -1) << row;
        EXPECT_EQ(firstNonFinite(m, {1}, 10000, 0).row, row);
        m.setSample(1, row, Sample{1.0f, 1.0f});
    }
    // The first of two in the same piece, the later one in an earlier channel.
    m.setSample(0, 5000, Sample{inf, 0.0f});
    m.setSample(1, 4999, Sample{inf, 0.0f});
    EXPECT_EQ(firstNonFinite(m, {0, 1}, 0, 10000).row, 4999);
}
