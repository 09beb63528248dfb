#include "view/view_state.h"

#include <gtest/gtest.h>

#include "view/view_test_support.h"

using view_test::makeMeasure;

namespace {

// A view over `m` laid out in a client of width x height.
MeasureViewState viewOf(CMeasure* m, int32_t width, int32_t height) {
    MeasureViewState v;
    v.measure = m;
    v.Rescan();
    v.Layout(width, height);
    return v;
}

} // namespace

TEST(ViewRescan, VisibleSamplesFollowShortRecordsOnlyAbove100Samples) {
    auto m50 = makeMeasure(1, 50, 1.0, view_test::zero);
    EXPECT_EQ(viewOf(m50.get(), 100, 100).visible_samples, 2000);
    auto m500 = makeMeasure(1, 500, 1.0, view_test::zero);
    EXPECT_EQ(viewOf(m500.get(), 100, 100).visible_samples, 500);

    MeasureViewState v;
    v.visible_samples = 19;
    v.Rescan();
    EXPECT_EQ(v.visible_samples, 1000);
}

TEST(ViewRescan, ExpandsCollapsedStripsAndClampsTheBlockToAShorterRecord) {
    auto m = makeMeasure(2, 300, 1.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 300, 200);
    v.expanded[1] = 0;
    ASSERT_TRUE(v.SetBlock(1, 250, 10));
    m->sampleCount = 200;
    v.Rescan();
    EXPECT_EQ(v.expanded[1], 1);
    EXPECT_EQ(v.block.from, 200);
    EXPECT_EQ(v.block.to, 10);
    m->channelCount = 1;
    v.Rescan();
    EXPECT_EQ(v.block.channel, 0);
    EXPECT_EQ(v.block.from, v.block.to);
}

TEST(ViewLayout, OneChannelPerScreenIn100PixelsGivesHeaderAndStrip) {
    auto m = makeMeasure(1, 1000, 1.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 500, 100);
    // (100 - 1*12) / 1 = 88: header 0..11, strip 12..99
    EXPECT_EQ(v.strip_height, 88);
    EXPECT_TRUE(v.ChannelAt(11).header);
    EXPECT_EQ(v.ChannelAt(11).channel, 0);
    EXPECT_FALSE(v.ChannelAt(12).header);
    EXPECT_EQ(v.ChannelAt(12).y, 0);
    EXPECT_EQ(v.ChannelAt(99).y, 87);
    EXPECT_EQ(v.ChannelAt(100).channel, -1);
    // 500 px / 1000 samples
    EXPECT_DOUBLE_EQ(v.pixels_per_sample, 0.5);
}

TEST(ViewLayout, ChannelAtSkipsCollapsedStrips) {
    auto m = makeMeasure(3, 1000, 1.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 500, 100); // strip_height 88
    v.expanded[1] = 0;
    // ch 0: header 0..11, strip 12..99; ch 1: header 100..111; ch 2: header 112..123
    EXPECT_EQ(v.ChannelAt(105).channel, 1);
    EXPECT_TRUE(v.ChannelAt(105).header);
    ChannelHit hit = v.ChannelAt(124);
    EXPECT_EQ(hit.channel, 2);
    EXPECT_FALSE(hit.header);
    EXPECT_EQ(hit.y, 0);
    EXPECT_EQ(v.ChannelAt(124 + 88).channel, -1);
    // 2 strips and 3 headers
    EXPECT_EQ(v.contentHeight(), 2 * 88 + 3 * 12);
}

TEST(ViewLayout, ScrollRangesInPixels) {
    auto m = makeMeasure(2, 1000, 1.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 200, 100);
    v.ZoomX(+1); // 1000 -> 500 samples per 200 px: p = 0.4
    v.Layout(200, 100);
    // content round(1000 * 0.4) = 400 wide, 2 * (88 + 12) = 200 high
    ScrollRange h = v.horizontalScroll();
    EXPECT_EQ(h.maximum, 400);
    EXPECT_EQ(h.page, 201);
    EXPECT_EQ(h.lastPosition(), 200);
    EXPECT_EQ(h.clamp(1000), 200);
    EXPECT_EQ(h.clamp(-5), 0);
    EXPECT_EQ(v.verticalScroll().maximum, 200);
    EXPECT_EQ(v.verticalScroll().lastPosition(), 100);

    MeasureViewState empty;
    empty.Layout(200, 100);
    EXPECT_EQ(empty.horizontalScroll().maximum, 0);
    EXPECT_EQ(empty.verticalScroll().lastPosition(), 0);
    EXPECT_EQ(empty.contentWidth(), 10);
}

TEST(ViewLayout, ClientLowerThanItsHeadersHasNoStrip) {
    auto m = makeMeasure(1, 1000, 1.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 100, 5);
    EXPECT_EQ(v.strip_height, 0);
    EXPECT_EQ(v.contentHeight(), 12);
    EXPECT_EQ(v.ChannelAt(12).channel, -1);
}

TEST(ViewGeometry, ValueAtMapsStripPixelsToTheNiceRange) {
    auto m = makeMeasure(1, 2000, 10.0, [](int, int j) {
        return Sample{j % 2 ? 7.0f : -3.0f, 0.0f};
    });
    MeasureViewState v = viewOf(m.get(), 1000, 100);
    // visible 2000 in 1000 px: p = 0.5; x value = 250 / 0.5 / 10 = 50 s
    // range -3 .. 7 gives lo' = -4, hi' = 8; data height 88 - 12 = 76
    EXPECT_DOUBLE_EQ(v.ValueAt(250, 0, 0).x, 50.0);
    EXPECT_DOUBLE_EQ(v.ValueAt(0, 0, 0).y, 8.0);
    EXPECT_DOUBLE_EQ(v.ValueAt(0, 76, 0).y, -4.0);
    EXPECT_DOUBLE_EQ(v.ValueAt(0, 38, 0).y, 2.0);
    // round(x / p) clamped into 0 .. N
    EXPECT_EQ(v.SampleAt(3), 6);
    EXPECT_EQ(v.SampleAt(-10), 0);
    EXPECT_EQ(v.SampleAt(5000), 2000);
}

TEST(ViewGeometry, YFactorNarrowsTowardsZeroAndModuleStartsAtZero) {
    auto m = makeMeasure(1, 10, 1.0, [](int, int j) {
        float v = 2.0f + j % 5;
        return Sample{v, v};
    });
    MeasureViewState v = viewOf(m.get(), 100, 100);
    ASSERT_TRUE(v.YRange(+1));
    // 2 .. 6 halved is 1 .. 3: d = 2, step 0.5, 1 .. 3.5
    AxisRange axis = v.VerticalAxis(0);
    EXPECT_DOUBLE_EQ(axis.lo, 1.0);
    EXPECT_DOUBLE_EQ(axis.hi, 3.5);
    v.plot_mode = PLOT_MODULE;
    EXPECT_DOUBLE_EQ(v.VerticalAxis(0).lo, 0.0);
}

TEST(ViewGeometry, FlatChannelsGetAUsableAxis) {
    auto m = makeMeasure(1, 10, 1.0, [](int, int) { return Sample{3.0f, 3.0f}; });
    MeasureViewState v = viewOf(m.get(), 100, 100);
    AxisRange axis = v.VerticalAxis(0);
    EXPECT_LT(axis.lo, 3.0);
    EXPECT_GT(axis.hi, 3.0);
    auto zeros = makeMeasure(1, 10, 1.0, view_test::zero);
    MeasureViewState z = viewOf(zeros.get(), 100, 100);
    z.plot_mode = PLOT_MODULE;
    EXPECT_DOUBLE_EQ(z.VerticalAxis(0).lo, 0.0);
    EXPECT_GT(z.VerticalAxis(0).hi, 0.0);
}

class ViewBlock : public ::testing::Test {
  protected:
    void SetUp() override {
        m = makeMeasure(3, 1000, 10.0, view_test::zero);
        v = viewOf(m.get(), 1000, 300); // p = 1, strip_height 288
        ASSERT_DOUBLE_EQ(v.pixels_per_sample, 1.0);
    }
    std::unique_ptr<CMeasure> m;
    MeasureViewState v;
};

TEST_F(ViewBlock, EdgeAtGrabsStrictlyWithinThreePixelsEndEdgeFirst) {
    ASSERT_TRUE(v.SetBlock(0, 100, 200));
    EXPECT_EQ(v.EdgeAt(202, 0), 2);
    EXPECT_EQ(v.EdgeAt(203, 0), 0);
    EXPECT_EQ(v.EdgeAt(98, 0), 1);
    EXPECT_EQ(v.EdgeAt(97, 0), 0);
    EXPECT_EQ(v.EdgeAt(200, 1), 0);
    ASSERT_TRUE(v.SetBlock(0, 100, 102));
    EXPECT_EQ(v.EdgeAt(101, 0), 2);
    ASSERT_TRUE(v.SetBlock(0, 100, 100));
    EXPECT_EQ(v.EdgeAt(100, 0), 0);
}

TEST_F(ViewBlock, DragGoesOnBelowTheLastChannelButNotOverAHeader) {
    v.channels_per_screen = 3;
    v.Layout(1000, 300); // strip_height (300 - 36) / 3 = 88: ch 1 header at 100..111
    ASSERT_EQ(v.Press(100, 12 + 10), PressAction::NewBlock);
    PointerInfo overHeader = v.PointerMoved(400, 105);
    EXPECT_FALSE(overHeader.dragged);
    EXPECT_TRUE(overHeader.arrowCursor);
    EXPECT_EQ(v.block.to, 100);
    PointerInfo below = v.PointerMoved(400, 310);
    EXPECT_TRUE(below.dragged);
    EXPECT_FALSE(below.readout);
    EXPECT_EQ(v.block.to, 400);
    PointerInfo inOtherStrip = v.PointerMoved(500, 112 + 5);
    EXPECT_TRUE(inOtherStrip.readout);
    EXPECT_EQ(inOtherStrip.channel, 1);
    EXPECT_EQ(v.block.channel, 0);
    EXPECT_EQ(v.block.to, 500);
}

TEST_F(ViewBlock, HeaderPressTogglesTheStripAndBelowTheLastChannelDoesNothing) {
    v.channels_per_screen = 3;
    v.Layout(1000, 300);
    EXPECT_EQ(v.Press(10, 5), PressAction::ToggledStrip);
    EXPECT_EQ(v.expanded[0], 0);
    // ch 1's header now follows directly below ch 0's
    EXPECT_EQ(v.ChannelAt(12).channel, 1);
    EXPECT_TRUE(v.ChannelAt(12).header);
    BlockRange before = v.block;
    EXPECT_EQ(v.Press(10, 2000), PressAction::None);
    EXPECT_EQ(v.drag, 0);
    EXPECT_EQ(v.block.from, before.from);
}

TEST_F(ViewBlock, SetBlockRefusesUnknownChannelsAndClampsBounds) {
    EXPECT_FALSE(v.SetBlock(-1, 1, 2));
    EXPECT_FALSE(v.SetBlock(3, 1, 2));
    EXPECT_EQ(v.block.channel, 0);
    EXPECT_EQ(v.block.from, 0);
    EXPECT_TRUE(v.SetBlock(2, -50, 5000));
    EXPECT_EQ(v.block.channel, 2);
    EXPECT_EQ(v.block.from, 0);
    EXPECT_EQ(v.block.to, 1000);
}

TEST_F(ViewBlock, PopupBlockCommandsActAtThePopupPosition) {
    ASSERT_TRUE(v.SetBlock(0, 10, 20));
    v.SetPopupPosition(300, 12 + 288 + 12 + 5); // channel 1, sample 300
    ASSERT_EQ(v.cursor_channel, 1);
    ASSERT_EQ(v.cursor_sample, 300);
    // another channel: both edges move there
    EXPECT_TRUE(v.BeginBlock());
    EXPECT_EQ(v.block.channel, 1);
    EXPECT_EQ(v.block.from, 300);
    EXPECT_EQ(v.block.to, 300);
    v.SetPopupPosition(450, 12 + 288 + 12 + 5);
    EXPECT_TRUE(v.EndBlock());
    EXPECT_EQ(v.block.from, 300);
    EXPECT_EQ(v.block.to, 450);
    v.SetPopupPosition(-20, 12 + 5); // channel 0, clamped to sample 0
    EXPECT_TRUE(v.EndBlock());
    EXPECT_EQ(v.block.channel, 0);
    EXPECT_EQ(v.block.from, 0);
    EXPECT_EQ(v.block.to, 0);
    EXPECT_TRUE(v.SelectAll());
    EXPECT_EQ(v.block.to, 1000);
}

TEST_F(ViewBlock, PopupBelowTheLastChannelChangesNothing) {
    ASSERT_TRUE(v.SetBlock(1, 10, 20));
    v.SetPopupPosition(300, 5000);
    ASSERT_EQ(v.cursor_channel, -1);
    EXPECT_FALSE(v.BeginBlock());
    EXPECT_FALSE(v.EndBlock());
    EXPECT_FALSE(v.SelectAll());
    EXPECT_EQ(v.block.channel, 1);
    EXPECT_EQ(v.block.from, 10);
    EXPECT_EQ(v.block.to, 20);
}

TEST(ViewZoom, ZoomOutOfAShortRecordDoesNotZoomIn) {
    auto m = makeMeasure(1, 50, 1.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 100, 100);
    ASSERT_EQ(v.visible_samples, 2000);
    EXPECT_FALSE(v.ZoomX(-1));
    EXPECT_EQ(v.visible_samples, 2000);

    MeasureViewState none;
    EXPECT_FALSE(none.ZoomX(-1));
    EXPECT_EQ(none.visible_samples, 2000);
}

// A spectrum limited to 0 .. 2 Hz at 0.1 Hz a bin shows bins 0 .. 20 over
// the whole width and is scaled by them alone: the peak beyond the limit
// neither widens the view nor flattens the bars that are shown.
TEST(ViewLimit, ShowsAndScalesOnlyTheSamplesUpToTheLimit) {
    auto m = makeMeasure(1, 400, 10.0, [](int, int j) {
        return Sample{j == 300 ? 50.0f : 1.0f + j % 3, 0.0f};
    });
    MeasureViewState v = viewOf(m.get(), 400, 200);
    v.plot_mode = PLOT_MODULE;
    EXPECT_DOUBLE_EQ(v.VerticalAxis(0).hi, 60.0); // 0 .. 50 in steps of 10
    v.x_limit = 2.0;
    v.Rescan();
    v.Layout(400, 200);
    EXPECT_EQ(v.sampleCount(), 21);
    EXPECT_EQ(v.visible_samples, 21);  // across the whole client, though fewer than 100
    EXPECT_EQ(v.SampleAt(100000), 21); // the end of what is shown
    EXPECT_DOUBLE_EQ(v.range_mod[0], 3.0);
    EXPECT_EQ(v.contentWidth(), v.PixelOf(21));
    v.x_limit = 1000.0; // beyond the last sample: all of them
    v.Rescan();
    EXPECT_EQ(v.sampleCount(), 400);
    EXPECT_EQ(v.visible_samples, 400);
}

TEST(ViewGeometry, ThePhaseAxisSpansMinusPiToPiInRadians) {
    auto m = makeMeasure(1, 10, 1.0, [](int, int) { return Sample{3.0f, 4.0f}; });
    MeasureViewState v = viewOf(m.get(), 100, 100);
    v.plot_mode = PLOT_PHASE;
    // NiceRange(-pi, pi): d = 6.28, a = 1, r = 6.28, step 1: -4 .. 4
    EXPECT_DOUBLE_EQ(v.VerticalAxis(0).lo, -4.0);
    EXPECT_DOUBLE_EQ(v.VerticalAxis(0).hi, 4.0);
    EXPECT_STREQ(v.valueUnit(0), "rad");
    v.plot_mode = PLOT_MODULE | PLOT_PHASE; // the modulus wins
    EXPECT_STREQ(v.valueUnit(0), "m");
    EXPECT_DOUBLE_EQ(v.VerticalAxis(0).lo, 0.0);
}
