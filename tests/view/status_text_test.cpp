#include "view/status_text.h"

#include <gtest/gtest.h>

TEST(StatusText, BlockInfoOfABackwardBlockHasNegativeDurationAndFrequency) {
    // (50 - 100) / 10 Hz = -5 s, 1 / -5 = -0.2 Hz
    EXPECT_EQ(BlockInfoText(BlockRange{0, 100, 50}, 10.0), "0: 100-50 (-5.0000, -0.2000)");
    EXPECT_EQ(BlockInfoText(BlockRange{2, 0, 25}, 100.0), "2: 0-25 (0.2500, 4.0000)");
}

TEST(StatusText, EmptyBlockShowsTheEndEdgeAndItsTime) {
    // 25 / 10 Hz = 2.5 s
    EXPECT_EQ(BlockInfoText(BlockRange{3, 25, 25}, 10.0), "3: 25 (2.5000)");
}

// The transform of an empty block has no rate: no times, rather than "-nan".
TEST(StatusText, WithoutARateTheBlockHasNoTimes) {
    EXPECT_EQ(BlockInfoText(BlockRange{0, 0, 0}, 0.0), "0: 0");
    EXPECT_EQ(BlockInfoText(BlockRange{1, 5, 9}, 0.0), "1: 5-9");
}

TEST(StatusText, PointerReadout) {
    EXPECT_EQ(PointerReadoutText(1, ValuePoint{0.5, -2.25}), "ch=1  x=0.5000  y=-2.2500");
    EXPECT_EQ(PointerReadoutText(12, ValuePoint{123.45678, 0.0}), "ch=12  x=123.4568  y=0.0000");
}
