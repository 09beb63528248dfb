#include "analysis/calculation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "measure/text_encoding.h"
#include "measure/text_format.h"
#include "test_calculation.h"

namespace {

std::string writtenText(CMeasure& m, bool* ok) {
    std::FILE* f = std::tmpfile();
    *ok = m.WriteText(f);
    std::string text(size_t(std::ftell(f)), '\0');
    std::rewind(f);
    size_t got = std::fread(&text[0], 1, text.size(), f);
    text.resize(got);
    std::fclose(f);
    return text;
}

// A result of `channels` channels and `rows` rows filled by hand, as a
// finished run leaves it.
void shapeResult(CCalculation& r, int channels, int rows, double rate) {
    r.channelCount = channels;
    r.sampleCount = rows;
    r.sampleFormat = SAMPLE_FORMAT_COMPLEX;
    r.sampleRate = rate;
    ASSERT_TRUE(r.allocateSamples());
}

} // namespace

TEST(CalculationRange, RefusesWhatTheSourceDoesNotHold) {
    CMeasure source;
    fillSource(source, 2, 50);
    EXPECT_EQ(checkRange(nullptr, {0, 0, 10}), RangeCheck::Closed);
    EXPECT_EQ(checkRange(&source, {-1, 0, 10}), RangeCheck::BadChannel);
    EXPECT_EQ(checkRange(&source, {2, 0, 10}), RangeCheck::BadChannel);
    EXPECT_EQ(checkRange(&source, {1, -1, 10}), RangeCheck::BadRange);
    EXPECT_EQ(checkRange(&source, {1, 0, 51}), RangeCheck::BadRange);
    EXPECT_EQ(checkRange(&source, {1, 51, 50}), RangeCheck::BadRange);
    // Both ends of the measurement and a backward block are fine.
    EXPECT_EQ(checkRange(&source, {1, 0, 50}), RangeCheck::Ok);
    EXPECT_EQ(checkRange(&source, {1, 50, 0}), RangeCheck::Ok);

    // A header that claims more samples than its buffer holds.
    source.sampleCount = 1;
    ASSERT_TRUE(source.allocateSamples());
    source.sampleCount = 50;
    EXPECT_EQ(checkRange(&source, {0, 0, 10}), RangeCheck::NoSamples);
    EXPECT_EQ(checkRange(&source, {0, 7, 7}), RangeCheck::Ok); // reads nothing
}

TEST(CalculationStart, RefusedRangeNeitherBuildsNorStarts) {
    CMeasure source;
    fillSource(source, 2, 50);
    CCopy result(&source, {5, 0, 10});
    result.sampleCount = 7; // what an earlier run left
    EXPECT_FALSE(result.StartWorker(nullptr));
    EXPECT_EQ(result.builds, 0);
    EXPECT_EQ(result.worker, nullptr);
    EXPECT_EQ(result.sampleCount, 7);
    EXPECT_EQ(result.state(), CalcState::Idle);
}

TEST(CalculationStart, FailedThreadStartLeavesAnEmptyResult) {
    CMeasure source;
    fillSource(source, 1, 50);
    CCopy result(&source, {0, 0, 50});
    setWorkerStackBytes(size_t(1) << 60); // no address space holds such a stack
    bool started = result.StartWorker(nullptr);
    setWorkerStackBytes(WORKER_STACK_BYTES);
    EXPECT_FALSE(started);
    EXPECT_EQ(result.worker, nullptr);
    EXPECT_EQ(result.sampleCount, 0);
    result.StopWorker();
    EXPECT_EQ(result.sampleCount, 0);
}

TEST(CalculationStart, UnobtainableBufferForgetsTheEarlierRun) {
    CMeasure source;
    fillSource(source, 1, 50);
    CCopy result(&source, {0, 0, 50});
    ASSERT_TRUE(result.StartWorker(nullptr));
    waitForDone(*result.params, 50);
    result.StopWorker();
    ASSERT_EQ(result.sampleCount, 50);
    result.bufferUnobtainable = true;
    EXPECT_FALSE(result.StartWorker(nullptr));
    EXPECT_EQ(result.sampleCount, 0);
    result.StopWorker(); // "Recalculate" stops first: no rows without a buffer
    EXPECT_EQ(result.sampleCount, 0);
}

TEST(CalculationStop, WithoutWorkerTakesCountFromDoneAndFinishes) {
    CMeasure source;
    fillSource(source, 1, 10);
    CCopy result(&source, {0, 0, 10});
    result.sampleCount = 10;
    result.params->done.store(3);
    result.StopWorker();
    EXPECT_EQ(result.sampleCount, 3);
    EXPECT_EQ(result.finishes, 1);
    EXPECT_EQ(result.params->cancel.load(), 1);
}

TEST(CalculationText, WritesBothPartsOfEveryChannel) {
    CMeasure source;
    CCopy result(&source, {0, 0, 0});
    bool ok = false;
    EXPECT_EQ(writtenText(result, &ok), ""); // no buffer: nothing, and success
    EXPECT_TRUE(ok);

    shapeResult(result, 2, 2, 4.0);
    result.setSample(0, 0, {1.5f, -2.0f});
    result.setSample(1, 0, {0.0f, 1e-3f});
    result.setSample(0, 1, {-0.25f, 12345.0f});
    result.setSample(1, 1, {3.0f, 0.0f});
    // X = i / 4; "%6e" of each value.
    EXPECT_EQ(writtenText(result, &ok),
              "0.000000e+00\t1.500000e+00\t-2.000000e+00\t0.000000e+00\t1.000000e-03\r\n"
              "2.500000e-01\t-2.500000e-01\t1.234500e+04\t3.000000e+00\t0.000000e+00\r\n");
    EXPECT_TRUE(ok);
}

TEST(CalculationComponent, AddsTheValueUnderThePointerToTheSource) {
    CMeasure source;
    fillSource(source, 2, 10);
    resetParameters(source.signalParameters[1]);
    CCopy result(&source, {1, 0, 4});
    shapeResult(result, 1, 4, 0.5);
    result.setSample(0, 2, {3.0f, -4.0f});

    result.AddComponent(0, 2);
    const SignalParameters& list = source.signalParameters[1];
    ASSERT_EQ(list.componentCount, 1);
    const SignalComponent& c = list.components[0];
    EXPECT_STREQ(c.name, "jaka\x9C nazwa"); // Windows-1250, like every name in memory
    EXPECT_EQ(displayText(c.name), "jakaś nazwa");
    EXPECT_DOUBLE_EQ(c.frequency, 4.0); // sample 2 at 0.5 samples per hertz
    EXPECT_DOUBLE_EQ(c.a, 3.0);
    EXPECT_DOUBLE_EQ(c.d, -4.0);
    EXPECT_DOUBLE_EQ(c.eta, 0.0);
    EXPECT_DOUBLE_EQ(c.amplitude, 5.0); // 3-4-5 triangle
    EXPECT_DOUBLE_EQ(c.k, 5.0);
    EXPECT_EQ(source.signalParameters[0].componentCount, 0);

    result.AddComponent(0, 4); // the pointer may stand at N: no value there
    result.AddComponent(1, 0); // no such result channel
    result.AddComponent(0, -1);
    EXPECT_EQ(list.componentCount, 1);

    for (int i = 1; i < MAX_COMPONENTS + 3; ++i)
        result.AddComponent(0, 1);
    EXPECT_EQ(list.componentCount, MAX_COMPONENTS);

    removeComponent(source.signalParameters[1], 0);
    result.CloseSource();
    result.AddComponent(0, 2);
    EXPECT_EQ(source.signalParameters[1].componentCount, MAX_COMPONENTS - 1);
}

TEST(CalculationTitle, SourcePathOrClosedThenSuffix) {
    CMeasure source;
    copyField(source.path, sizeof source.path, "/data/flume/run7.INT");
    CCopy result(&source, {0, 0, 0});
    EXPECT_EQ(result.Title(" - Fourier Analysis"), "/data/flume/run7.INT - Fourier Analysis");

    std::memset(source.path, 'p', 255);
    source.path[255] = '\0';
    EXPECT_EQ(result.Title(" - a suffix longer than thirty characters").size(), 285u);

    result.CloseSource();
    EXPECT_TRUE(result.closed());
    EXPECT_EQ(result.Title(" - Kalman Analysis"), "Closed - Kalman Analysis");
    EXPECT_FALSE(result.StartWorker(nullptr)); // a closed result does not run
}

// A result writes the real and the imaginary part of every channel, and a
// text file carries 16 values per row: 8 channels fit, 9 would read back as
// other rows.
TEST(CalculationText, SavesAsTextOnlyWhatReadsBack) {
    CMeasure source;
    fillSource(source, 1, 10);
    CCopy result(&source, {0, 0, 4});
    shapeResult(result, 8, 4, 2.0);
    EXPECT_EQ(textFormatRefusal(result), nullptr);
    shapeResult(result, 9, 4, 2.0);
    EXPECT_NE(textFormatRefusal(result), nullptr);
}
