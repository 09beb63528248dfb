#include "view/curve_painter.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "view/view_test_support.h"

using view_test::makeMeasure;

namespace {

std::vector<uint32_t> paintCurves(const CMeasure& m, int32_t s0, int32_t count, double p,
                                  PlotMode mode, const StripScale& scale, bool everySample) {
    const int32_t width = 320, height = scale.dataHeight;
    std::vector<uint32_t> pixels(size_t(width) * height, 0xffffffffu);
    PixelSurface area{pixels.data(), width, width, height};
    CurvePainter painter(m, s0, count, p);
    painter.setOneVertexPerSample(everySample);
    for (int c = 0; c < m.channelCount; ++c)
        painter.draw(area, c, mode, scale, 0xff000000u + c, 0xff0000ffu);
    return pixels;
}

} // namespace

// The per-column drawing must give every pixel of the one-vertex-per-sample
// drawing: on noise, on isolated spikes and on plateaus (equal neighbours),
// for every plot mode, zoomed out, zoomed in and scrolled.
TEST(CurvePainter, ColumnExtremesDrawExactlyTheFullRun) {
    std::mt19937 rng(5);
    std::normal_distribution<float> noise(0.0f, 1.0f);
    std::uniform_int_distribution<int> rare(0, 300);
    auto noisy = makeMeasure(2, 20000, 50.0, [&](int, int) {
        return Sample{noise(rng), noise(rng)};
    });
    auto spiky = makeMeasure(2, 20000, 50.0, [&](int c, int) {
        bool spike = rare(rng) == 0;
        return Sample{spike ? 30.0f - 70.0f * c : 0.0f, spike ? 5.0f : 0.0f};
    });
    auto steps = makeMeasure(1, 20000, 50.0, [&](int, int j) {
        return Sample{float((j / 37) % 5), float((j / 11) % 3)};
    });
    const PlotMode modes[] = {PLOT_SIGNAL, PLOT_COSIGNAL, PLOT_ENVELOPE, PLOT_MODULE};
    // 0.016 px a sample is ~63 samples a column, 0.31 a few, 3.7 zoomed in
    const double scales[] = {320.0 / 20000.0, 0.31, 3.7};
    for (CMeasure* m : {noisy.get(), spiky.get(), steps.get()}) {
        for (PlotMode mode : modes) {
            for (double p : scales) {
                for (int32_t s0 : {0, 777}) {
                    // a scale that lets curves leave the strip at both edges
                    StripScale scale(AxisRange{-1.5, 2.0, 0.5}, 70);
                    int32_t count = 20000 - s0;
                    EXPECT_EQ(paintCurves(*m, s0, count, p, mode, scale, false),
                              paintCurves(*m, s0, count, p, mode, scale, true))
                        << "mode " << mode << " p " << p << " s0 " << s0;
                }
            }
        }
    }
}
