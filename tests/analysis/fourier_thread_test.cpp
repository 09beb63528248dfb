#include "analysis/fourier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "test_calculation.h"

namespace {

// Channel c holds cos(2 pi (c + 1) (j - 10) / 64): bin c + 1 of the 64 samples from 10.
void fillCosines(CMeasure& m, int channels, int rows, double rate) {
    fillSource(m, channels, rows, rate);
    for (int j = 0; j < rows; ++j)
        for (int c = 0; c < channels; ++c)
            m.setSample(c, j, Sample{float(std::cos(2 * M_PI * (c + 1) * (j - 10) / 64)), 0.0f});
}

void fillNoise(CMeasure& m, int rows, double rate, unsigned seed) {
    fillSource(m, 1, rows, rate);
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (int j = 0; j < rows; ++j)
        m.setSample(0, j, Sample{u(gen), u(gen)});
}

void runToEnd(CFft& result, RecordingSink& sink) {
    ASSERT_TRUE(result.StartWorker(&sink));
    Message done = sink.waitFor(CMD_CALC_DONE, result.currentRun());
    ASSERT_EQ(done.command, CMD_CALC_DONE);
    ASSERT_TRUE(result.OnWorkerMessage(CMD_CALC_DONE, done.run));
}

bool sameBins(const CMeasure& a, const CMeasure& b, int32_t count) {
    return std::memcmp(a.pairRows(), b.pairRows(), size_t(count) * sizeof(Sample)) == 0;
}

} // namespace

TEST(FourierThread, SpectrumResultHasItsShapeAndBins) {
    CMeasure source;
    fillCosines(source, 2, 200, 50.0);
    copyField(source.channels[1].unit, sizeof source.channels[1].unit, "cm");
    RecordingSink sink;
    CFft result(&source, {1, 10, 74}, FourierOptions{});
    runToEnd(result, sink);

    EXPECT_EQ(result.sampleFormat, SAMPLE_FORMAT_COMPLEX);
    EXPECT_EQ(result.channelCount, 1);
    EXPECT_EQ(result.sampleCount, 64);
    EXPECT_DOUBLE_EQ(result.sampleRate, 64 / 50.0); // bin k lies at k * 50 / 64 Hz
    EXPECT_STREQ(result.channels[0].name, "Spectrum");
    EXPECT_STREQ(result.channels[0].unit, "cm");
    EXPECT_EQ(result.channels[0].coefficient, 1.0);
    EXPECT_EQ(result.channels[0].constant, 0.0);
    EXPECT_EQ(result.signalParameters[0].unused[0], 100.0);
    EXPECT_STREQ(result.name, "");
    // Unit cosine at bin 2 of channel 1: Re X = 1 at bins 2 and 62.
    EXPECT_NEAR(result.pairRows()[2].re, 1.0f, 1e-5);
    EXPECT_NEAR(result.pairRows()[62].re, 1.0f, 1e-5);
    EXPECT_NEAR(result.pairRows()[3].re, 0.0f, 1e-5);
    EXPECT_EQ(sink.count(CMD_CALC_DONE), 1);
}

TEST(FourierThread, BackwardRangeAndImaginaryInputChangeNothing) {
    CMeasure source, withImaginary;
    fillNoise(source, 300, 10.0, 5u);
    fillNoise(withImaginary, 300, 10.0, 5u);
    for (int j = 0; j < 300; ++j)
        withImaginary.setSample(0, j, Sample{withImaginary.value(0, j), float(j * j)});
    RecordingSink sink;
    CFft upwards(&source, {0, 17, 250}, FourierOptions{});
    CFft downwards(&source, {0, 250, 17}, FourierOptions{});
    CFft imaginary(&withImaginary, {0, 17, 250}, FourierOptions{});
    runToEnd(upwards, sink);
    runToEnd(downwards, sink);
    runToEnd(imaginary, sink);
    ASSERT_EQ(downwards.sampleCount, 233);
    EXPECT_TRUE(sameBins(upwards, downwards, 233));
    EXPECT_TRUE(sameBins(upwards, imaginary, 233));
}

TEST(FourierThread, EmptyRangeFinishesAtOnceWithoutBuffer) {
    CMeasure source;
    fillNoise(source, 100, 10.0, 1u);
    RecordingSink sink;
    CFft result(&source, {0, 50, 50}, FourierOptions{});
    runToEnd(result, sink);
    EXPECT_EQ(sink.waitFor(CMD_CALC_DONE, result.currentRun()).done, 0);
    EXPECT_FALSE(result.hasSamples());
    EXPECT_EQ(result.sampleCount, 0);
}

TEST(FourierThread, InverseOfASpectrumResultRestoresRateAndSignal) {
    CMeasure source;
    fillNoise(source, 100, 50.0, 9u);
    RecordingSink sink;
    CFft spectrum(&source, {0, 0, 100}, FourierOptions{});
    runToEnd(spectrum, sink);
    FourierOptions inverse;
    inverse.inverse = 1;
    CFft signal(&spectrum, {0, 0, 100}, inverse);
    runToEnd(signal, sink);
    EXPECT_NEAR(signal.sampleRate, 50.0, 50.0 * 1e-12); // N / (N / fs)
    ASSERT_EQ(signal.sampleCount, 100);
    for (int j = 0; j < 100; ++j) {
        EXPECT_NEAR(signal.pairRows()[j].re, source.value(0, j), 1e-5) << j;
        EXPECT_NEAR(signal.pairRows()[j].im, 0.0f, 1e-5) << j;
    }
}

TEST(FourierThread, CancelLeavesAConsistentSpectrum) {
    const int n = 999983; // prime
    CMeasure source;
    fillNoise(source, n, 100.0, 3u);
    RecordingSink sink;
    CFft full(&source, {0, 0, n}, FourierOptions{});
    runToEnd(full, sink);
    ASSERT_EQ(full.sampleCount, n);

    for (int32_t waitFor : {0, 1}) {
        CFft part(&source, {0, 0, n}, FourierOptions{});
        ASSERT_TRUE(part.StartWorker(&sink));
        waitForDone(*part.params, waitFor);
        part.StopWorker();
        int32_t done = part.params->done.load();
        EXPECT_EQ(part.sampleCount, done);
        EXPECT_GE(done, waitFor);
        EXPECT_TRUE(sameBins(part, full, done));
        // A DONE goes out only for a run that finished before the cancel.
        for (const Message& m : sink.messages())
            EXPECT_FALSE(m.run == part.currentRun() && m.command == CMD_CALC_DONE && done != n);
    }
}

TEST(FourierThread, RestartOutsideTheSourceIsRefusedAndKeepsTheResult) {
    CMeasure source;
    fillNoise(source, 100, 10.0, 4u);
    RecordingSink sink;
    CFft result(&source, {0, 0, 100}, FourierOptions{});
    runToEnd(result, sink);
    std::vector<Sample> before(result.pairRows(), result.pairRows() + 100);

    result.range.to = 101; // "Add sample" at the end of the source
    EXPECT_FALSE(result.StartWorker(&sink));
    result.range = {1, 0, 100}; // a channel the source does not have
    EXPECT_FALSE(result.StartWorker(&sink));
    EXPECT_EQ(result.worker, nullptr);
    ASSERT_EQ(result.sampleCount, 100);
    EXPECT_EQ(std::memcmp(before.data(), result.pairRows(), sizeof(Sample) * 100), 0);
}

TEST(FourierThread, SeveralSpectraComputeAtOnce) {
    CMeasure source;
    fillCosines(source, 4, 80, 64.0);
    RecordingSink sink;
    std::vector<std::unique_ptr<CFft>> results;
    for (int c = 0; c < 4; ++c) {
        results.push_back(std::make_unique<CFft>(&source, BlockRange{c, 74, 10}, FourierOptions{}));
        ASSERT_TRUE(results.back()->StartWorker(&sink));
    }
    for (int c = 0; c < 4; ++c) {
        CFft& r = *results[size_t(c)];
        ASSERT_EQ(sink.waitFor(CMD_CALC_DONE, r.currentRun()).command, CMD_CALC_DONE);
        r.OnWorkerMessage(CMD_CALC_DONE, r.currentRun());
        ASSERT_EQ(r.sampleCount, 64);
        EXPECT_NEAR(r.pairRows()[c + 1].re, 1.0f, 1e-5) << c; // unit cosine at bin c + 1
        EXPECT_NEAR(r.pairRows()[63 - c].re, 1.0f, 1e-5) << c;
    }
}
