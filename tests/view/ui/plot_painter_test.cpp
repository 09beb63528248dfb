#include "view/ui/plot_painter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <map>
#include <random>

#include "view/strip_scale.h"
#include "view/view_test_support.h"

using view_test::makeMeasure;

namespace {

QRgb rgb(const QColor& c) {
    return c.rgb();
}

// The view's picture of its client area.
QImage paintView(const MeasureViewState& view, bool oneVertexPerSample = false) {
    QImage image(view.client_width, view.client_height, QImage::Format_RGB32);
    image.fill(Qt::magenta); // anything left unpainted shows up
    QPainter screen(&image);
    PlotPainter painter(view);
    painter.setOneVertexPerSample(oneVertexPerSample);
    painter.paint(screen);
    return image;
}

// The most frequent colour of a rectangle: the background under lines and text.
QRgb dominant(const QImage& image, const QRect& r) {
    std::map<QRgb, int> counts;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb best = 0;
    int most = -1;
    for (auto [colour, n] : counts)
        if (n > most) best = colour, most = n;
    return best;
}

int countColour(const QImage& image, const QRect& r, QRgb colour) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

int differingPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

MeasureViewState viewOf(CMeasure* m, int32_t width, int32_t height, int32_t perScreen = 1) {
    MeasureViewState v;
    v.measure = m;
    v.Rescan();
    v.channels_per_screen = perScreen;
    v.Layout(width, height);
    return v;
}

} // namespace

// The per-column drawing must not be "close": every pixel of the one-vertex-
// per-sample drawing, in every plot mode, on noise and on isolated spikes.
TEST(PlotPainter, ColumnExtremesDrawTheSamePixelsAsEverySample) {
    std::mt19937 rng(7);
    std::normal_distribution<float> noise(0.0f, 1.0f);
    std::uniform_int_distribution<int> spikeAt(0, 400);
    auto noisy = makeMeasure(2, 30011, 100.0, [&](int c, int j) {
        float drift = c ? 0.0f : float(j) / 3000.0f;
        return Sample{noise(rng) + drift, noise(rng) * 0.5f};
    });
    auto spiky = makeMeasure(2, 30011, 100.0, [&](int c, int) {
        bool spike = spikeAt(rng) == 0;
        return Sample{spike ? (c ? -40.0f : 25.0f) : 0.0f, spike ? 10.0f : 0.0f};
    });
    // The modulus and the phase as bars, and (line) as a polyline.
    const std::pair<PlotMode, bool> drawings[] = {
        {PLOT_SIGNAL, false},
        {PLOT_SIGNAL | PLOT_COSIGNAL, false},
        {PLOT_SIGNAL | PLOT_COSIGNAL | PLOT_ENVELOPE, false},
        {PLOT_MODULE, false},
        {PLOT_MODULE, true},
        {PLOT_PHASE, false},
        {PLOT_PHASE, true}};
    for (CMeasure* m : {noisy.get(), spiky.get()}) {
        for (auto [mode, line] : drawings) {
            // 30011 samples across 733 px, and a zoom with ~3.4 samples a pixel
            for (int32_t visible : {30011, 2500}) {
                MeasureViewState v = viewOf(m, 733, 400, 2);
                v.visible_samples = visible;
                v.plot_mode = mode;
                v.line_plot = line;
                v.y_factor = 2; // curves leave the strip too
                v.Layout(733, 400);
                v.scroll_x = visible < 30011 ? 1000 : 0;
                QImage fast = paintView(v);
                QImage reference = paintView(v, true);
                EXPECT_EQ(differingPixels(fast, reference), 0)
                    << "mode " << mode << " line " << line << " visible " << visible;
            }
        }
    }
}

TEST(PlotPainter, HeaderStripAndLabelBandsIn100Pixels) {
    auto m = makeMeasure(1, 1000, 10.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 300, 100);
    ASSERT_EQ(v.strip_height, 88);
    QImage image = paintView(v);
    // header 0..11 with its black top line, strip data 12..87, labels 88..99
    EXPECT_EQ(countColour(image, QRect(0, 0, 300, 1), qRgb(0, 0, 0)), 300);
    EXPECT_EQ(dominant(image, QRect(0, 1, 300, 11)), rgb(BAND_COLOUR));
    EXPECT_EQ(dominant(image, QRect(0, 12, 300, 76)), rgb(EVEN_STRIP_COLOUR));
    EXPECT_EQ(dominant(image, QRect(0, 88, 300, 12)), rgb(BAND_COLOUR));
    // the strip's bottom row is label band, the one above it data area
    EXPECT_EQ(dominant(image, QRect(0, 99, 300, 1)), rgb(BAND_COLOUR));
    EXPECT_EQ(countColour(image, QRect(0, 87, 300, 1), rgb(BAND_COLOUR)), 0);
    EXPECT_EQ(countColour(image, image.rect(), qRgb(255, 0, 255)), 0);
}

TEST(PlotPainter, StripsAlternateWhiteAndLightYellow) {
    auto m = makeMeasure(3, 1000, 10.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 300, 300, 3); // strips of (300 - 36) / 3 = 88
    QImage image = paintView(v);
    EXPECT_EQ(dominant(image, QRect(0, 12, 300, 76)), rgb(EVEN_STRIP_COLOUR));
    EXPECT_EQ(dominant(image, QRect(0, 112, 300, 76)), rgb(ODD_STRIP_COLOUR));
    EXPECT_EQ(dominant(image, QRect(0, 212, 300, 76)), rgb(EVEN_STRIP_COLOUR));
}

TEST(PlotPainter, WhiteBelowTheLastChannelAndCollapsedStripsShowOnlyHeaders) {
    auto m = makeMeasure(2, 1000, 10.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 200, 300);
    v.expanded[0] = v.expanded[1] = 0;
    v.Layout(200, 300);
    QImage image = paintView(v);
    EXPECT_EQ(dominant(image, QRect(0, 1, 200, 11)), rgb(BAND_COLOUR));
    // the second header follows directly, with its own top line
    EXPECT_EQ(countColour(image, QRect(0, 12, 200, 1), qRgb(0, 0, 0)), 200);
    EXPECT_EQ(dominant(image, QRect(0, 13, 200, 11)), rgb(BAND_COLOUR));
    EXPECT_EQ(countColour(image, QRect(0, 24, 200, 276), qRgb(255, 255, 255)), 200 * 276);
}

class PlotBlock : public ::testing::Test {
  protected:
    // A flat signal of 1 draws one curve row; everything else black in the
    // data area is the block's hatch or outline.
    void SetUp() override {
        m = makeMeasure(2, 1000, 10.0, [](int, int) { return Sample{1.0f, 1.0f}; });
        v = viewOf(m.get(), 500, 200, 2); // p = 0.5, strips of 88, data 76 high
        curveRow = StripScale(v.VerticalAxis(0), 76).Y(1.0);
    }
    int blackIn(const QImage& image, int x0, int x1, int top) const {
        int n = 0;
        for (int y = top; y < top + 76; ++y)
            if (y - top != curveRow)
                n += countColour(image, QRect(x0, y, x1 - x0, 1), qRgb(0, 0, 0));
        return n;
    }
    std::unique_ptr<CMeasure> m;
    MeasureViewState v;
    int curveRow = 0;
};

TEST_F(PlotBlock, HatchFillsTheBlockOnlyInItsOwnChannel) {
    ASSERT_TRUE(v.SetBlock(0, 200, 600)); // x 100 .. 300
    QImage image = paintView(v);
    EXPECT_GT(blackIn(image, 102, 298, 12), 76 * 196 / 16);
    EXPECT_EQ(blackIn(image, 0, 99, 12), 0);
    EXPECT_EQ(blackIn(image, 301, 500, 12), 0);
    // channel 1's strip starts at 12 + 88 + 12
    EXPECT_EQ(blackIn(image, 0, 500, 112), 0);
}

TEST_F(PlotBlock, ABackwardBlockIsDrawnAsTheReorderedOne) {
    ASSERT_TRUE(v.SetBlock(0, 600, 200));
    QImage backward = paintView(v);
    ASSERT_TRUE(v.SetBlock(0, 200, 600));
    EXPECT_EQ(differingPixels(backward, paintView(v)), 0);
}

TEST_F(PlotBlock, AnEmptyBlockDrawsNothing) {
    ASSERT_TRUE(v.SetBlock(0, 300, 300));
    EXPECT_EQ(blackIn(paintView(v), 0, 500, 12), 0);
}

TEST(PlotPainter, ModuleBarsRiseFromTheZeroLine) {
    // |3 + 4i| = 5 everywhere; range 0 .. 5 gives 0 .. 6 (step 1), so with a
    // data area of 76 rows the bar top is Y(5) - 1 = 76 - round(5 * 76 / 6) - 1 = 12
    auto m = makeMeasure(1, 200, 10.0, [](int, int) { return Sample{3.0f, 4.0f}; });
    MeasureViewState v = viewOf(m.get(), 200, 100);
    v.plot_mode = PLOT_MODULE;
    v.Layout(200, 100);
    QImage image = paintView(v);
    const QRgb blue = rgb(BAR_COLOUR);
    for (int x : {60, 100, 190}) { // right of the value labels, which lie over the bars
        EXPECT_NE(image.pixel(x, 12 + 11), blue) << x;
        for (int y = 12; y < 76; ++y)
            EXPECT_EQ(image.pixel(x, 12 + y), blue) << x << " " << y;
        EXPECT_NE(image.pixel(x, 12 + 76), blue) << x;
    }
}

// A spectrum of |3 + 4i| = 5 at 10 samples a second (0.1 Hz a bin), 400
// bins on 400 px: with the strip's data rows 12 .. 87.
class SpectrumPicture : public ::testing::Test {
  protected:
    void SetUp() override {
        m = makeMeasure(1, 400, 10.0, [](int, int) { return Sample{3.0f, 4.0f}; });
        v = viewOf(m.get(), 400, 100);
        v.plot_mode = PLOT_MODULE;
        v.Layout(400, 100);
    }
    int blueIn(const QImage& image, int x0, int x1) const {
        return countColour(image, QRect(x0, 12, x1 - x0, 76), rgb(BAR_COLOUR));
    }
    std::unique_ptr<CMeasure> m;
    MeasureViewState v;
};

TEST_F(SpectrumPicture, BarsStopAtTheLimitFrequency) {
    EXPECT_GT(blueIn(paintView(v), 300, 400), 0);
    v.x_limit = 10.0; // bins 0 .. 100
    v.Rescan();
    v.visible_samples = 400; // kept at one pixel a bin, to see where the bars end
    v.Layout(400, 100);
    QImage image = paintView(v);
    EXPECT_GT(blueIn(image, 95, 102), 0);
    EXPECT_EQ(blueIn(image, 102, 400), 0);
}

TEST_F(SpectrumPicture, ALinePlotDrawsTheModulusAsACurveNotAsBars) {
    v.line_plot = true;
    QImage image = paintView(v);
    EXPECT_EQ(blueIn(image, 0, 400), 0);
    // 0 .. 5 is 0 .. 6 on the axis: Y(5) = 76 - round(5 * 76 / 6) = 13
    // (the polyline leaves out its own last pixel)
    EXPECT_EQ(countColour(image, QRect(60, 12 + 13, 338, 1), qRgb(0, 0, 0)), 338);
}

TEST_F(SpectrumPicture, PhaseBarsRiseForPositiveAndHangForNegativeAngles) {
    v.plot_mode = PLOT_PHASE; // -4 .. 4 rad: zero at row 38 of the strip
    QImage up = paintView(v);
    m->setSample(0, 200, Sample{0.0f, -1.0f}); // -pi/2 from here on
    for (int j = 200; j < 400; ++j)
        m->setSample(0, j, Sample{0.0f, -1.0f});
    QImage down = paintView(v);
    // atan2(4, 3) = 0.93 rad: 9 rows above zero; -pi/2: 15 rows below it
    const int zero = 12 + 38;
    EXPECT_EQ(countColour(up, QRect(100, zero - 10, 1, 10), rgb(BAR_COLOUR)), 10);
    EXPECT_EQ(countColour(up, QRect(100, zero + 1, 1, 30), rgb(BAR_COLOUR)), 0);
    EXPECT_EQ(countColour(down, QRect(300, zero + 1, 1, 16), rgb(BAR_COLOUR)), 16);
    EXPECT_EQ(countColour(down, QRect(300, 12, 1, 38), rgb(BAR_COLOUR)), 0);
}

// The header's font is as tall as the header, descenders included: a name
// written in it with nothing to cut it off stays inside the band, and the
// header shows exactly that ("Gauge", not "Gauqe").
TEST(PlotPainter, ChannelNamesKeepTheirDescenders) {
    auto m = makeMeasure(1, 100, 10.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 300, 100);
    setChannelInfo(m->channels[0], 1, 0, "m", "Gauge gjpqy");
    QImage free(300, 3 * HEADER_HEIGHT, QImage::Format_RGB32);
    free.fill(BAND_COLOUR);
    {
        QPainter p(&free);
        p.setFont(plotFont());
        p.setPen(Qt::black);
        p.drawText(QRect(50, 0, 250, 3 * HEADER_HEIGHT), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("Gauge gjpqy"));
    }
    EXPECT_EQ(countColour(free, QRect(0, HEADER_HEIGHT, 300, 2 * HEADER_HEIGHT), rgb(BAND_COLOUR)),
              300 * 2 * HEADER_HEIGHT);
    QImage header = paintView(v).copy(0, 1, 300, HEADER_HEIGHT - 1);
    EXPECT_EQ(differingPixels(header, free.copy(0, 1, 300, HEADER_HEIGHT - 1)), 0);
}

// The time (or frequency) axis names its unit; nothing else changes.
TEST(PlotPainter, TheXAxisNamesItsUnitInTheLabelBand) {
    auto m = makeMeasure(1, 1000, 10.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 300, 100);
    v.x_unit = "";
    QImage bare = paintView(v);
    v.x_unit = "Hz";
    QImage named = paintView(v);
    EXPECT_GT(differingPixels(bare.copy(0, 88, 300, 12), named.copy(0, 88, 300, 12)), 0);
    EXPECT_EQ(differingPixels(bare.copy(0, 0, 300, 88), named.copy(0, 0, 300, 88)), 0);
}

TEST(PlotPainter, AMeasurementWithoutSamplesPaintsWhite) {
    auto m = makeMeasure(2, 0, 10.0, view_test::zero);
    MeasureViewState v = viewOf(m.get(), 200, 200, 2);
    QImage image = paintView(v);
    EXPECT_EQ(countColour(image, image.rect(), qRgb(255, 255, 255)), 200 * 200);

    MeasureViewState none;
    none.Layout(50, 50);
    QImage blank = paintView(none);
    EXPECT_EQ(countColour(blank, blank.rect(), qRgb(255, 255, 255)), 50 * 50);
}

TEST(PlotPainter, VerticalScrollShiftsThePicture) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    auto m = makeMeasure(4, 3000, 10.0, [&](int, int) { return Sample{value(rng), 0.0f}; });
    MeasureViewState v = viewOf(m.get(), 300, 200, 2); // content 4 * 100 = 400 high
    QImage top = paintView(v);
    v.scroll_y = 37;
    QImage scrolled = paintView(v);
    EXPECT_EQ(differingPixels(scrolled.copy(0, 0, 300, 163), top.copy(0, 37, 300, 163)), 0);
}

// Bands wholly on an image are painted in place; the others (and every band
// on a painter that clips) into a band image that is copied. Both must give
// the same picture: strips cut by the scroll position, the block, the labels.
TEST(PlotPainter, BandsPaintedInPlaceEqualBandsCopiedIn) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    auto m = makeMeasure(5, 4000, 10.0, [&](int, int) { return Sample{value(rng), value(rng)}; });
    MeasureViewState v = viewOf(m.get(), 320, 230, 2);
    v.plot_mode = PLOT_SIGNAL | PLOT_COSIGNAL;
    v.block = BlockRange{1, 300, 900};
    for (int32_t scroll : {0, 57, 140}) {
        v.scroll_y = scroll;
        QImage inPlace = paintView(v);
        QImage copied(v.client_width, v.client_height, QImage::Format_RGB32);
        copied.fill(Qt::magenta);
        {
            QPainter screen(&copied);
            screen.setClipRect(copied.rect()); // a clipping painter gets copied bands
            PlotPainter(v).paint(screen);
        }
        EXPECT_EQ(differingPixels(inPlace, copied), 0) << "scrolled by " << scroll;
        EXPECT_EQ(countColour(inPlace, inPlace.rect(), qRgb(255, 0, 255)), 0);
    }
}
