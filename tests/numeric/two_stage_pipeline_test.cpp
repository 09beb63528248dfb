#include "numeric/two_stage_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

// Each block is taken in order, after it was prepared, from a slot nothing
// prepared over before it was taken.
TEST(TwoStagePipeline, TakesEveryBlockInOrderFromItsOwnSlot) {
    const int slots = 4;
    std::vector<int64_t> slot(slots, -1);
    std::vector<int64_t> order;
    const bool ok = inTwoStages(
        1000, slots,
        [&](int64_t b, int k) {
            slot[size_t(k)] = b;
            return true;
        },
        [&](int64_t b, int k) {
            order.push_back(slot[size_t(k)] == b ? b : -1);
            return true;
        });
    EXPECT_TRUE(ok);
    ASSERT_EQ(order.size(), 1000u);
    for (int64_t b = 0; b < 1000; ++b)
        ASSERT_EQ(order[size_t(b)], b);
}

// A failure on either side stops both sides soon and is the answer; nothing
// waits forever for the side that stopped.
TEST(TwoStagePipeline, AFailureOnEitherSideStopsBoth) {
    std::atomic<int64_t> prepared{0};
    std::vector<int64_t> taken;
    EXPECT_FALSE(inTwoStages(
        1000, 4,
        [&](int64_t, int) {
            ++prepared;
            return true;
        },
        [&](int64_t b, int) {
            taken.push_back(b);
            return b != 10;
        }));
    EXPECT_EQ(taken.size(), 11u);
    EXPECT_LE(prepared.load(), 11 + 4);
    taken.clear();
    EXPECT_FALSE(inTwoStages(
        1000, 4, [&](int64_t b, int) { return b != 7; },
        [&](int64_t b, int) {
            taken.push_back(b);
            return true;
        }));
    // (Blocks prepared before the failure may or may not be taken; the failed
    // one and those after it never are.)
    EXPECT_LE(taken.size(), 7u);
    for (int64_t b : taken)
        EXPECT_LT(b, 7);
    // One block: no second thread, the same answers.
    EXPECT_FALSE(inTwoStages(
        1, 4, [](int64_t, int) { return true; }, [](int64_t, int) { return false; }));
    EXPECT_TRUE(inTwoStages(
        1, 4, [](int64_t, int) { return true; }, [](int64_t, int) { return true; }));
}
