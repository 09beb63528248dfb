// The readout beside the pointer: the time of the sample under it and each
// shown channel's value there, with units.
#include <gtest/gtest.h>

#include "view/pointer_readout.h"
#include "view/view_test_support.h"

TEST(PointerReadout, NamesTheTimeAndEveryShownChannelsValue) {
    auto m = view_test::makeMeasure(3, 100, 10.0, [](int c, int j) {
        return Sample{float(c * 100 + j), 0};
    });
    setChannelInfo(m->channels[1], 1, 0, "cm", "gauge 2");
    MeasureViewState view;
    view.measure = m.get();
    view.Rescan();
    view.visible_samples = 100;
    view.Layout(500, 300); // 5 px a sample
    view.expanded[2] = 0;  // a collapsed strip shows no value
    std::vector<std::string> lines = PointerReadoutLines(view, 5 * 42);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "t = 4.2000 s");
    EXPECT_EQ(lines[2], "gauge 2: 142.0000 cm");
    view.x_unit = "Hz";
    EXPECT_EQ(PointerReadoutLines(view, 5 * 42)[0], "f = 4.2000 Hz");
    // Past the last sample the last one is read.
    EXPECT_EQ(PointerReadoutLines(view, 5 * 1000)[0], "f = 9.9000 Hz");
}

// The readout names what the strip draws: 3 + 4i is 3 as the signal, 4 as
// the cosignal, 5 as the modulus and atan2(4, 3) = 0.9273 rad as the phase.
TEST(PointerReadout, FollowsThePlotMode) {
    auto m = view_test::makeMeasure(1, 100, 10.0, [](int, int) { return Sample{3.0f, 4.0f}; });
    MeasureViewState view;
    view.measure = m.get();
    view.Rescan();
    view.Layout(500, 300);
    auto valueLine = [&](PlotMode mode) {
        view.plot_mode = mode;
        return PointerReadoutLines(view, 50)[1];
    };
    EXPECT_EQ(valueLine(PLOT_SIGNAL), "ch 0: 3.0000 m");
    EXPECT_EQ(valueLine(PLOT_COSIGNAL), "ch 0: 4.0000 m");
    EXPECT_EQ(valueLine(PLOT_MODULE), "ch 0: 5.0000 m");
    EXPECT_EQ(valueLine(PLOT_PHASE), "ch 0: 0.9273 rad");
    EXPECT_EQ(valueLine(PLOT_SIGNAL | PLOT_COSIGNAL), "ch 0: re 3.0000  im 4.0000 m");
    EXPECT_EQ(valueLine(PLOT_SIGNAL | PLOT_COSIGNAL | PLOT_ENVELOPE),
              "ch 0: re 3.0000  im 4.0000  |z| 5.0000 m");
}
