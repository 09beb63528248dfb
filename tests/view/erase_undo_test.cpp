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
    return std::vector<Sample>(m.samples, m.samples + int64_t(m.channelCount) * m.sampleCount);
}

bool same(const std::vector<Sample>& a, const CMeasure& m) {
    return std::memcmp(a.data(), m.samples, a.size() * sizeof(Sample)) == 0;
}

} // namespace

// Bounds past the ends are clamped as the erase clamps them.
TEST(EraseUndoTest, UndoPutsBackExactlyTheClampedRows) {
    auto m = view_test::makeMeasure(3, 50, 10.0, ramp);
    m->at(2, 12).re = std::numeric_limits<float>::quiet_NaN();
    const std::vector<Sample> before = copyOf(*m);
    EraseUndo undo;
    ASSERT_TRUE(undo.erase(*m, {2, 99, -5}));
    EXPECT_EQ(m->at(2, 0).re, 0.0f);
    EXPECT_EQ(m->at(2, 49).re, 0.0f);
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
    EXPECT_FLOAT_EQ(m->at(0, 6).re, 6.25f);
}

// Rows computed anew (another layout) are not overwritten with old ones.
TEST(EraseUndoTest, AMeasurementLaidOutAnewIsLeftAlone) {
    auto m = view_test::makeMeasure(2, 30, 10.0, ramp);
    EraseUndo undo;
    ASSERT_TRUE(undo.erase(*m, {1, 0, 30}));
    m->sampleCount = 20;
    EXPECT_FALSE(undo.undo(*m));
    EXPECT_FALSE(undo.available());
    EXPECT_EQ(m->at(1, 3).re, 0.0f);
}
