// The view laid out for a picture of another size keeps what the screen shows.
#include <gtest/gtest.h>

#include <cmath>

#include "view/export_layout.h"
#include "view_test_support.h"

namespace {

int32_t firstSample(const MeasureViewState& v) {
    return int32_t(std::floor(v.scroll_x / v.pixels_per_sample + 0.5));
}

} // namespace

TEST(ExportLayoutTest, ABiggerPictureShowsTheSameSamplesAndChannels) {
    auto m = view_test::makeMeasure(4, 20000, 50.0, view_test::zero);
    MeasureViewState shown;
    shown.measure = m.get();
    shown.Rescan();
    shown.visible_samples = 2000;
    shown.channels_per_screen = 2;
    shown.Layout(600, 400);
    shown.scroll_x = 3000 * 600 / 2000; // sample 3000 at 0.3 pixels a sample
    // Channel 1's strip, a quarter of the way down: header 12 + strip 188 above it.
    shown.scroll_y = 200 + 12 + 47;
    shown.Layout(600, 400);
    ASSERT_EQ(firstSample(shown), 3000);

    MeasureViewState big = exportLayout(shown, 1800, 1200);
    EXPECT_EQ(big.client_width, 1800);
    EXPECT_EQ(big.client_height, 1200);
    EXPECT_EQ(big.visible_samples, 2000);
    EXPECT_EQ(big.channels_per_screen, 2);
    EXPECT_EQ(firstSample(big), 3000);
    // Strips of (1200 - 2 * 12) / 2 = 588: the same place in channel 1.
    EXPECT_EQ(big.strip_height, 588);
    ChannelHit top = big.ChannelAt(big.scroll_y);
    EXPECT_EQ(top.channel, 1);
    EXPECT_FALSE(top.header);
    EXPECT_EQ(top.y, 47 * 588 / 188);
    // The window is untouched.
    EXPECT_EQ(shown.client_width, 600);
}

TEST(ExportLayoutTest, TheLastPageStaysTheLastPageWhateverTheSize) {
    auto m = view_test::makeMeasure(2, 5000, 50.0, view_test::zero);
    MeasureViewState shown;
    shown.measure = m.get();
    shown.Rescan();
    shown.visible_samples = 1000;
    shown.Layout(500, 300);
    shown.scroll_x = shown.horizontalScroll().lastPosition();
    shown.Layout(500, 300);
    // 5000 - 1000 samples before the last page, give or take a pixel's worth (2 samples).
    ASSERT_NEAR(firstSample(shown), 4000, 2);

    MeasureViewState small = exportLayout(shown, 250, 150);
    EXPECT_NEAR(firstSample(small), firstSample(shown), 4); // a pixel is 4 samples now
    EXPECT_LE(small.scroll_x, small.horizontalScroll().lastPosition());
}

TEST(ExportLayoutTest, ARangeLayoutStacksEveryChannelOverTheRange) {
    auto m = view_test::makeMeasure(3, 10000, 100.0, view_test::zero);
    MeasureViewState v = rangeLayout(*m, 2500, 4500, 1000, 636);
    EXPECT_EQ(v.visible_samples, 2000);
    EXPECT_EQ(v.channels_per_screen, 3);
    EXPECT_DOUBLE_EQ(v.pixels_per_sample, 0.5);
    EXPECT_EQ(firstSample(v), 2500);
    // Three headers and strips fill the height: 3 * (12 + 200) = 636.
    EXPECT_EQ(v.strip_height, 200);
    EXPECT_EQ(v.contentHeight(), 636);
    EXPECT_EQ(v.scroll_y, 0);
}

TEST(ExportLayoutTest, ChosenChannelsKeepTheScaleTheyHaveBesideTheirNeighbours) {
    // Channel 0 swings 0.1, channel 1 of the same unit 2, channel 2 in "V" 50.
    const char* const units[] = {"m", "m", "V"};
    auto amplitude = [](int c) { return c == 0 ? 0.1f : c == 1 ? 2.0f : 50.0f; };
    auto full = view_test::makeMeasure(
        3, 100, 10.0,
        [&](int c, int j) {
            return Sample{j % 2 ? amplitude(c) : -amplitude(c), 0.0f};
        },
        units);
    auto only0and2 = view_test::makeMeasure(
        2, 100, 10.0,
        [&](int k, int j) {
            float a = amplitude(k == 0 ? 0 : 2);
            return Sample{j % 2 ? a : -a, 0.0f};
        },
        units + 1); // any units: the scale must come from the full measurement

    MeasureViewState window;
    window.measure = full.get();
    window.Rescan();
    MeasureViewState picture = rangeLayout(*only0and2, 0, 100, 400, 300);
    scaleAsIn(*full, {0, 2}, picture);
    // Channel 0 is drawn on channel 1's -2 .. 2, as in the window.
    EXPECT_EQ(picture.VerticalAxis(0).lo, window.VerticalAxis(0).lo);
    EXPECT_EQ(picture.VerticalAxis(0).hi, window.VerticalAxis(0).hi);
    EXPECT_LE(picture.VerticalAxis(0).lo, -2.0);
    EXPECT_EQ(picture.VerticalAxis(1).hi, window.VerticalAxis(2).hi);
}
