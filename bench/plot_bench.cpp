// Painting a long record fully zoomed out: each pixel column's first,
// extreme and last samples against one vertex per sample, which draws the
// same pixels.
//
// Run: build-bench/bench/plot_bench
// 16 channels x 2,097,152 complex samples (256 MiB) at 1600 x 1000 pixels,
// all 16 strips on screen, the whole record across the width.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <memory>

#include "view/ui/plot_painter.h"
#include "view/view_state.h"

namespace {

constexpr int CHANNELS = 16;
constexpr int32_t ROWS = 2097152;
constexpr int WIDTH = 1600;
constexpr int HEIGHT = 1000;

// Waves of a few periods per strip with a little noise on top, so every
// pixel column has a real spread of values.
CMeasure* longRecord() {
    static std::unique_ptr<CMeasure> m = [] {
        auto record = std::make_unique<CMeasure>();
        record->channelCount = CHANNELS;
        record->sampleCount = ROWS;
        record->sampleRate = 100.0;
        record->allocateSamples();
        uint32_t noise = 12345;
        for (int32_t j = 0; j < ROWS; ++j) {
            for (int c = 0; c < CHANNELS; ++c) {
                noise = noise * 1664525u + 1013904223u;
                double phase = double(j) * (c + 1) * 2e-5;
                float jitter = float(noise >> 8) / float(1 << 24) - 0.5f;
                record->setSample(
                    c, j, Sample{float(std::sin(phase)) + 0.2f * jitter, float(std::cos(phase))});
            }
        }
        for (int c = 0; c < CHANNELS; ++c)
            setChannelInfo(record->channels[c], 1.0, 0.0, "m", "eta");
        return record;
    }();
    return m.get();
}

MeasureViewState zoomedOut() {
    MeasureViewState view;
    view.measure = longRecord();
    view.Rescan();
    view.channels_per_screen = CHANNELS;
    view.visible_samples = ROWS;
    view.Layout(WIDTH, HEIGHT);
    return view;
}

void paint(benchmark::State& state, bool oneVertexPerSample) {
    MeasureViewState view = zoomedOut();
    QImage screen(WIDTH, HEIGHT, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&screen);
        PlotPainter plot(view);
        plot.setOneVertexPerSample(oneVertexPerSample);
        plot.paint(painter);
        benchmark::DoNotOptimize(screen.constBits());
    }
    state.counters["samples"] = double(CHANNELS) * ROWS;
}

void BM_PaintColumnExtremes(benchmark::State& state) {
    paint(state, false);
}

void BM_PaintEverySample(benchmark::State& state) {
    paint(state, true);
}

// What a refresh costs on the same record: the value ranges of all channels.
void BM_RescanRanges(benchmark::State& state) {
    MeasureViewState view = zoomedOut();
    for (auto _ : state) {
        view.Rescan();
        benchmark::DoNotOptimize(view.range_max[0]);
    }
}

} // namespace

BENCHMARK(BM_PaintColumnExtremes)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PaintEverySample)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RescanRanges)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    // Text needs a GUI application; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    longRecord();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
