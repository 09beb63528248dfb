// One level of undo for "Block erease".
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "view/erase_undo.h"
#include "view_test_support.h"

namespace {

Sample ramp(int c, int j) {
    return Sample{float(c * 1000 + j) + 0.25f, float(-j)};
}

std::vector<Sample> copyOf(const CMeasure& m) {
    std::vector<Sample> all;
    for (int j = 0; j < m.sampleCount; ++j)
        for (int c = 0; c < m.channelCount; ++c)
            all.push_back(m.sample(c, j));
    return all;
}

bool same(const std::vector<Sample>& a, const CMeasure& m) {
    return a.size() == copyOf(m).size() &&
           std::memcmp(a.data(), copyOf(m).data(), a.size() * sizeof(Sample)) == 0;
}

} // namespace

// Bounds past the ends are clamped as the erase clamps them.
TEST(EraseUndoTest, UndoPutsBackExactlyTheClampedRows) {
    auto m = view_test::makeMeasure(3, 50, 10.0, ramp);
    m->setSample(2, 12, Sample{std::numeric_limits<float>::quiet_NaN(), 0.0f});
    const std::vector<Sample> before = copyOf(*m);
    EraseUndo undo;
    ASSERT_TRUE(undo.erase(*m, {2, 99, -5}));
    EXPECT_EQ(m->value(2, 0), 0.0f);
    EXPECT_EQ(m->value(2, 49), 0.0f);
    EXPECT_TRUE(undo.undo(*m));
    EXPECT_TRUE(same(before, *m));
    EXPECT_FALSE(undo.available());
    EXPECT_FALSE(undo.undo(*m));
}

TEST(EraseUndoTest, NothingToEraseKeepsTheEarlierUndo) {
    auto m = view_test::makeMeasure(2, 30, 10.0, ramp);
    EraseUndo undo;
    ASSERT_TRUE(undo.erase(*m, {0, 5, 8}));
    const std::vector<Sample> erased = copyOf(*m);
    EXPECT_FALSE(undo.erase(*m, {0, 9, 9}));  // empty
    EXPECT_FALSE(undo.erase(*m, {2, 0, 10})); // no such channel
    EXPECT_TRUE(same(erased, *m));
    ASSERT_TRUE(undo.undo(*m));
    EXPECT_FLOAT_EQ(m->value(0, 6), 6.25f);
}

// Rows computed anew (another layout) are not overwritten with old ones.
TEST(EraseUndoTest, AMeasurementLaidOutAnewIsLeftAlone) {
    auto m = view_test::makeMeasure(2, 30, 10.0, ramp);
    EraseUndo undo;
    ASSERT_TRUE(undo.erase(*m, {1, 0, 30}));
    m->sampleCount = 20;
    EXPECT_FALSE(undo.undo(*m));
    EXPECT_FALSE(undo.available());
    EXPECT_EQ(m->value(1, 3), 0.0f);
}
