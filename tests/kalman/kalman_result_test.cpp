#include "kalman/kalman.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>

#include "kalman/kalman_copy_text.h"
#include "kalman_test_support.h"

namespace {

constexpr double RATE = 20.0;

// A two-channel source; channel 1 holds `z` and the component list.
void fillSource(CMeasure& m, const std::vector<double>& z) {
    m.channelCount = 2;
    m.sampleCount = int32_t(z.size());
    m.sampleRate = RATE;
    ASSERT_TRUE(m.allocateSamples());
    for (size_t j = 0; j < z.size(); ++j) {
        m.setSample(0, int(j), Sample{-float(z[j]), 0.0f});
        m.setSample(1, int(j), Sample{float(z[j]), 0.0f});
    }
    setChannelInfo(m.channels[1], 1.0, 0.0, "cm", "Gauge 2");
    resetParameters(m.signalParameters[1]);
}

void addComponent(CMeasure& m, const char* name, double f, double amp) {
    SignalComponent c{};
    copyField(c.name, sizeof c.name, name);
    c.frequency = f, c.amplitude = amp, c.k = 5.0, c.a = 0.25, c.eta = 0.125;
    appendComponent(m.signalParameters[1], c);
}

// Runs to the end and carries the results back, as the window does.
void runToEnd(CKalman& result) {
    RecordingSink sink;
    ASSERT_TRUE(result.StartWorker(&sink));
    sink.waitForDone();
    result.StopWorker();
}

} // namespace

TEST(KalmanResult, LaysOutComponentsDiffsAndRest) {
    CMeasure source;
    fillSource(source, sinusoids({{1.0, 0.5}, {0.5, 1.5}}, 400, RATE, 0.0));
    addComponent(source, "Swell", 0.5, 1.0);
    addComponent(source, "A rather long component name of forty ch", 1.5, 0.5);
    addComponent(source, "Third", 3.0, 0.2);
    CKalman result(&source, {1, 300, 50}, KalmanOptions{});
    runToEnd(result);
    ASSERT_EQ(result.channelCount, 7);
    EXPECT_EQ(result.sampleCount, 250);
    EXPECT_EQ(result.sampleRate, RATE);
    EXPECT_EQ(result.sampleFormat, SAMPLE_FORMAT_COMPLEX);
    const char* names[] = {"Swell",
                           "Swell diff",
                           "A rather long component name of forty ch",
                           "A rather long component name of forty ch", // " diff" cut at 40
                           "Third",
                           "Third diff",
                           "Rest"};
    for (int c = 0; c < 7; ++c) {
        EXPECT_STREQ(result.channels[c].name, names[c]);
        EXPECT_STREQ(result.channels[c].unit, c % 2 && c < 6 ? "cm/s" : "cm");
        EXPECT_EQ(result.signalParameters[c].componentCount, 0);
    }
    // Backward over 50..300: row i still belongs to source row 50 + i.
    for (int i = 0; i < 250; ++i) {
        double sum = result.value(6, i);
        for (int k = 0; k < 3; ++k)
            sum += result.value(2 * k, i);
        ASSERT_NEAR(sum, source.value(1, 50 + i), 1e-5) << i;
    }
}

TEST(KalmanResult, NoComponentsGiveTheSourceAsRest) {
    // No variance to scale the observation noise or the estimate by: the rest
    // is the signal and the observation error stays.
    CMeasure source;
    fillSource(source, sinusoids({{1.0, 0.5}}, 200, RATE, 0.1));
    CKalman result(&source, {1, 20, 120}, KalmanOptions{});
    runToEnd(result);
    ASSERT_EQ(result.channelCount, 1);
    EXPECT_STREQ(result.channels[0].name, "Rest");
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(result.value(0, i), source.value(1, 20 + i));
    EXPECT_EQ(result.options.observation_error, KalmanOptions{}.observation_error);
}

TEST(KalmanResult, FinishWritesTheEstimatesBack) {
    CMeasure source;
    fillSource(source, sinusoids({{1.0, 0.5}, {0.4, 1.5}}, 3000, RATE, 0.01));
    addComponent(source, "First", 0.5, 1.5); // expected amplitudes off the truth
    addComponent(source, "Second", 1.5, 0.3);
    KalmanOptions global;
    global.observation_error = 1.0;
    CKalman result(&source, {1, 0, 3000}, global);
    runToEnd(result);
    const SignalParameters& list = source.signalParameters[1];
    // Estimates of the true 1.0 and 0.4; frequency, k, eta and the rest stay.
    EXPECT_NEAR(list.components[0].amplitude, 1.0, 0.05);
    EXPECT_NEAR(list.components[1].amplitude, 0.4, 0.02);
    EXPECT_EQ(list.components[0].frequency, 0.5);
    EXPECT_EQ(list.components[1].k, 5.0);
    EXPECT_EQ(list.components[0].eta, 0.125);
    EXPECT_EQ(list.components[0].a, 0.25);
    EXPECT_NE(result.options.observation_error, 1.0);
    EXPECT_EQ(result.options.observation_error, result.kalmanParams().observation_error);
    EXPECT_EQ(global.observation_error, 1.0);
    // A component added after the run keeps its values at the next Finish.
    addComponent(source, "Later", 1.0, 9.0);
    result.StopWorker();
    EXPECT_EQ(list.components[2].amplitude, 9.0);
}

TEST(KalmanResult, AnOwnListIsReadAndUpdatedInsteadOfTheSources) {
    CMeasure source;
    fillSource(source, sinusoids({{1.0, 0.5}, {0.4, 1.5}}, 3000, RATE, 0.01));
    addComponent(source, "Kept", 0.5, 7.0);
    const SignalParameters before = source.signalParameters[1];
    CMeasure other;
    fillSource(other, {0.0});
    addComponent(other, "First", 0.5, 1.5);
    addComponent(other, "Second", 1.5, 0.3);
    KalmanOptions options;
    options.observation_error = 1.0; // as the run on the source's own list above
    CKalman result(&source, {1, 0, 3000}, options);
    result.useOwnComponents(other.signalParameters[1]);
    ASSERT_EQ(result.RunProblem(), nullptr);
    runToEnd(result);
    // Two components from the own list, estimated into it; the source's own
    // one-component list is as it was, byte for byte.
    ASSERT_EQ(result.channelCount, 5);
    EXPECT_STREQ(result.channels[2].name, "Second");
    EXPECT_NEAR(result.runComponents().components[0].amplitude, 1.0, 0.05);
    EXPECT_NEAR(result.runComponents().components[1].amplitude, 0.4, 0.02);
    EXPECT_EQ(std::memcmp(&before, &source.signalParameters[1], sizeof before), 0);
}

TEST(KalmanResult, RefusedRequestsChangeNothing) {
    CMeasure source;
    fillSource(source, sinusoids({{1.0, 0.5}}, 100, RATE, 0.0));
    addComponent(source, "Only", 0.5, 1.0);
    const SignalParameters before = source.signalParameters[1];
    struct Case {
        BlockRange range;
        int componentCount;
        double k;
    } cases[] = {
        {{2, 0, 50}, 1, 5.0},  // channel outside
        {{1, 0, 101}, 1, 5.0}, // range outside
        {{1, 0, 50}, 11, 5.0}, // more components than a list holds
        {{1, 0, 50}, -2, 5.0}, // a corrupt count
        {{1, 0, 50}, 1, 0.0},  // k = 0: no correlation time
    };
    for (const Case& c : cases) {
        source.signalParameters[1] = before;
        source.signalParameters[1].componentCount = c.componentCount;
        source.signalParameters[1].components[0].k = c.k;
        CKalman result(&source, c.range, KalmanOptions{});
        EXPECT_NE(result.RunProblem(), nullptr);
        EXPECT_FALSE(result.StartWorker(nullptr));
        result.StopWorker(); // the Finish of a run that never was
        EXPECT_EQ(source.signalParameters[1].components[0].amplitude, 1.0);
        EXPECT_EQ(result.options.observation_error, KalmanOptions{}.observation_error);
    }
}

TEST(KalmanResult, CancelledRunKeepsWhatItProcessed) {
    // Stopped early: the result holds the processed rows, the amplitude is
    // sqrt(2 mean(signal^2)) over exactly those rows, rows not reached read as
    // zero, and no completion message arrives.
    const int count = 1000000;
    CMeasure source;
    fillSource(source, sinusoids({{1.0, 0.5}}, count, RATE, 0.0));
    addComponent(source, "Wave", 0.5, 1.0);
    CKalman result(&source, {1, 0, count}, KalmanOptions{});
    RecordingSink sink;
    ASSERT_TRUE(result.StartWorker(&sink));
    while (result.kalmanParams().done.load() < 640)
        std::this_thread::yield();
    result.StopWorker();
    const int32_t done = result.sampleCount;
    ASSERT_GE(done, 640);
    ASSERT_LT(done, count);
    EXPECT_EQ(sink.doneMessages(), 0);
    double sum = 0.0;
    for (int i = 0; i < done; ++i)
        sum += double(result.value(0, i)) * result.value(0, i);
    EXPECT_NEAR(source.signalParameters[1].components[0].amplitude, std::sqrt(2.0 * sum / done),
                1e-5);
    EXPECT_EQ(result.pairRows()[int64_t(done) * 3 + 2].re, 0.0f);
    EXPECT_EQ(result.pairRows()[int64_t(count - 1) * 3 + 2].re, 0.0f);
}

TEST(KalmanCopyText, ListsRangeComponentsAndOptionsWithinTheLineLimits) {
    SignalParameters list;
    resetParameters(list);
    list.componentCount = 2;
    list.components[0].frequency = 0.5, list.components[0].amplitude = 1.25;
    list.components[0].k = 5.0;
    list.components[1].frequency = 1.75, list.components[1].amplitude = 0.0;
    list.components[1].k = 12.5;
    KalmanOptions o;
    o.observation_error = 3.456, o.use_damp = 1, o.model = 2;
    EXPECT_EQ(kalmanCopyAllText({2, 0, 1000}, list, o), "2\t0\t1000\t2\r\n"
                                                        "0.500000\t1.250000\t5.000000\r\n"
                                                        "1.750000\t0.000000\t12.500000\r\n"
                                                        "3.46\t1\t2\r\n");
    // A first line of exactly 39 characters stays whole; a component line of
    // 68 keeps 59, a last line of 50 keeps 39, and each next line follows
    // directly after a cut one.
    list.componentCount = 1;
    list.components[0].frequency = 1e30, list.components[0].amplitude = 1e10;
    list.components[0].k = 1.0;
    o.observation_error = 1e40, o.use_damp = 0, o.model = 3;
    EXPECT_EQ(kalmanCopyAllText({-2000000000, -2000000000, -2000000000}, list, o),
              "-2000000000\t-2000000000\t-2000000000\t1\r\n"
              "1000000000000000019884624838656.000000\t10000000000.000000\t1"
              "100000000000000003037860284270036668907");
}
