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
