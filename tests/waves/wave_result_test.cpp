// A wave analysis as a desktop window holds it: blocks copied out of the
// source, curves and lines of the last good run, and a failed run that
// changes nothing.
#include "waves/wave_result.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "sea_synthesis.h"

namespace {

// Channel 0 flat, channel 1 the wave 0.07 sin(2 pi (t + 0.2)) at 80 Hz over
// 1613 samples (0 .. 20.15 s): H = 0.14 m, T = 1 s, down-crossings at
// 0.3 + k s, so 19 whole waves.
std::unique_ptr<CMeasure> regularWaveMeasure() {
    auto m = std::make_unique<CMeasure>();
    m->channelCount = 2;
    m->sampleCount = 1613;
    m->sampleRate = 80.0;
    m->sampleFormat = SAMPLE_FORMAT_REAL;
    copyField(m->path, sizeof m->path, "/data/regular.INT");
    for (int c = 0; c < 2; ++c) {
        setChannelInfo(m->channels[c], 1, 0, "m", "gauge");
        resetParameters(m->signalParameters[c]);
    }
    m->allocateSamples();
    for (int j = 0; j < m->sampleCount; ++j) {
        m->setSample(0, j, Sample{0.0f, 0.0f});
        m->setSample(1, j, Sample{float(0.07 * std::sin(2 * SEA_PI * (j / 80.0 + 0.2))), 0.0f});
    }
    return m;
}

WaveRunOptions statisticsOf(int32_t channel) {
    WaveRunOptions o;
    o.channels = {channel};
    o.from = 0;
    o.to = 1613;
    return o;
}

} // namespace

TEST(WaveResult, StatisticsCurvesHoldEveryWavesHeightAndPeriodAndOutliveTheSource) {
    auto source = regularWaveMeasure();
    CWaveResult r(WaveAnalysis::Statistics);
    std::string why;
    ASSERT_TRUE(r.TakeBlocks(*source, statisticsOf(1), &why)) << why;
    source.reset(); // the source window closed: the result keeps its blocks
    ASSERT_TRUE(r.Compute(r.options, &why)) << why;
    EXPECT_EQ(r.sourcePath, "/data/regular.INT");
    ASSERT_EQ(r.channelCount, 2);
    ASSERT_EQ(r.sampleCount, 19);
    EXPECT_STREQ(r.channels[0].unit, "m");
    EXPECT_STREQ(r.channels[1].unit, "s");
    for (int j = 0; j < 19; ++j) {
        // Extremes up to half a sample off: 1 - cos(pi/80) = 7.7e-4 of H low.
        EXPECT_NEAR(r.value(0, j), 0.14, 0.14 * 7.8e-4 + 1e-6) << j;
        // Crossings interpolated on a sine 80 samples a period: far below 1e-3 s.
        EXPECT_NEAR(r.value(1, j), 1.0, 1e-3) << j;
    }
    ASSERT_FALSE(r.parameterLines.empty());
    EXPECT_EQ(r.parameterLines[0], "Waves\t19");
}

TEST(WaveResult, ARunThatCannotBeComputedKeepsTheLastResult) {
    auto source = regularWaveMeasure();
    CWaveResult r(WaveAnalysis::Statistics);
    std::string why;
    ASSERT_TRUE(r.TakeBlocks(*source, statisticsOf(1), &why));
    ASSERT_TRUE(r.Compute(r.options, &why));
    const std::vector<std::string> lines = r.parameterLines;

    // A band of +-0.5 m around a wave of 0.07 m amplitude: no crossing counts.
    WaveRunOptions wide = r.options;
    wide.waves.threshold = 1.0;
    EXPECT_FALSE(r.Compute(wide, &why));
    EXPECT_EQ(why, "the block holds no complete wave");
    EXPECT_EQ(r.sampleCount, 19);
    EXPECT_EQ(r.parameterLines, lines);
    EXPECT_EQ(r.options.waves.threshold, 0.0);

    // The flat channel has no wave at all.
    CWaveResult flat(WaveAnalysis::Statistics);
    ASSERT_TRUE(flat.TakeBlocks(*source, statisticsOf(0), &why));
    EXPECT_FALSE(flat.Compute(flat.options, &why));
    EXPECT_FALSE(flat.computed());
}

TEST(WaveResult, BlocksThatCannotBeTakenAreRefusedWithTheirReason) {
    auto source = regularWaveMeasure();
    CWaveResult r(WaveAnalysis::Reflection);
    std::string why;
    WaveRunOptions o = statisticsOf(1);
    o.channels = {1, 2};
    EXPECT_FALSE(r.TakeBlocks(*source, o, &why));
    EXPECT_EQ(why, "channel 2 does not exist (the measurement has 2)");
    o.channels = {1, 1};
    EXPECT_FALSE(r.TakeBlocks(*source, o, &why));
    EXPECT_EQ(why, "channel 1 is named twice");
    o.channels = {0, 1};
    o.from = o.to = 100;
    EXPECT_FALSE(r.TakeBlocks(*source, o, &why));
    EXPECT_EQ(why, "the block is empty");
    // Nothing was taken: there is nothing to compute.
    EXPECT_TRUE(r.blocks.empty());
    EXPECT_FALSE(r.Compute(o, &why));
    EXPECT_EQ(why, "there is no block to analyse");
}
