#include "aprox/aprox.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <mutex>

#include "aprox_test_support.h"

namespace {

class WaitingSink : public MessageSink {
  public:
    void post(int command, int32_t, uint32_t run) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (command == CMD_CALC_DONE) lastDone_ = run;
        arrived_.notify_all();
    }
    void waitDone(uint32_t run) {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_.wait(lock, [&] { return lastDone_ == run; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    uint32_t lastDone_ = 0;
};

const double RATE = 20.0;
const std::vector<DampedWave> TRUTH{
    {0.75, 0.0, 1.2, -0.4}, {2.2, 0.0, 0.3, 0.6}, {4.1, 0.0, -0.2, 0.1}};
const double LEVEL = 0.35;

SignalComponent component(const char* name, double frequency) {
    SignalComponent c{};
    copyField(c.name, sizeof c.name, name);
    c.frequency = frequency;
    c.amplitude = 42.0;
    c.k = 7.0;
    return c;
}

// Three channels; the middle one holds three sinusoids and a level, the
// others values that must never enter the fit.
struct Source {
    CMeasure m;
    Source() {
        m.channelCount = 3;
        m.sampleCount = 1000;
        m.sampleRate = RATE;
        m.allocateSamples();
        for (int c = 0; c < 3; ++c) {
            setChannelInfo(m.channels[c], 2.0, 1.0, c == 1 ? "cm" : "V", "gauge");
            resetParameters(m.signalParameters[c]);
        }
        for (int j = 0; j < 1000; ++j) {
            m.setSample(0, j, Sample{float(j), 1.0f});
            m.setSample(1, j, Sample{float(waveValue(LEVEL, TRUTH, j / RATE)), 9.0f});
            m.setSample(2, j, Sample{-float(j), 1.0f});
        }
        SignalParameters& list = m.signalParameters[1];
        appendComponent(list, component("long", 0.751));
        appendComponent(list, component("middle", 2.199));
        appendComponent(list, component("short", 4.1005));
    }
    SignalParameters& list() { return m.signalParameters[1]; }
};

// Runs to the end and finishes as the window does.
bool runToEnd(CAprox& result) {
    WaitingSink sink;
    if (!result.StartWorker(&sink)) return false;
    sink.waitDone(result.currentRun());
    return result.OnWorkerMessage(CMD_CALC_DONE, result.currentRun());
}

} // namespace

TEST(CAprox, OneChannelPerComponentThenRestAndTheFitGoesBackIntoTheList) {
    Source s;
    s.list().components[1].eta = 0.125; // undamped run: Eta stays
    CAprox result(&s.m, BlockRange{1, 0, 1000}, AproxOptions{});
    ASSERT_TRUE(runToEnd(result));
    EXPECT_EQ(result.channelCount, 4);
    EXPECT_EQ(result.sampleCount, 1000);
    EXPECT_EQ(result.sampleRate, RATE);
    EXPECT_EQ(result.sampleFormat, SAMPLE_FORMAT_COMPLEX);
    const char* names[] = {"Component nr 0", "Component nr 1", "Component nr 2", "Rest"};
    for (int c = 0; c < 4; ++c) {
        EXPECT_STREQ(result.channels[c].name, names[c]);
        EXPECT_STREQ(result.channels[c].unit, "cm");
        EXPECT_EQ(result.channels[c].coefficient, 1.0);
        EXPECT_EQ(result.channels[c].constant, 0.0);
        EXPECT_EQ(result.signalParameters[c].componentCount, 0);
    }
    // Noise-free data of the model: the fit returns the generating values.
    const SignalParameters& list = s.list();
    ASSERT_EQ(list.componentCount, 3);
    for (int k = 0; k < 3; ++k) {
        const SignalComponent& c = list.components[k];
        EXPECT_NEAR(c.frequency, TRUTH[size_t(k)].frequency, 1e-6) << k;
        EXPECT_NEAR(c.a, TRUTH[size_t(k)].a, 1e-5) << k;
        EXPECT_NEAR(c.d, TRUTH[size_t(k)].d, 1e-5) << k;
        EXPECT_EQ(c.amplitude, 42.0);
        EXPECT_EQ(c.k, 7.0);
    }
    EXPECT_STREQ(list.components[2].name, "short");
    EXPECT_EQ(list.components[1].eta, 0.125);
    EXPECT_NEAR(list.level, LEVEL, 1e-6);
    // The options of the result are not touched by a run.
    EXPECT_EQ(result.options.use_ad, 0);
    for (int c : {0, 2})
        EXPECT_EQ(s.m.signalParameters[c].componentCount, 0);
}

TEST(CAprox, AnOwnListIsFittedAndTheSourcesStaysAsItWas) {
    Source s;
    SignalParameters own = s.list();
    const SignalParameters before = s.list();
    resetParameters(s.list());
    appendComponent(s.list(), component("only", 1.0));
    const SignalParameters sourceList = s.list();
    CAprox result(&s.m, BlockRange{1, 0, 1000}, AproxOptions{});
    result.useOwnComponents(own);
    ASSERT_EQ(result.RunProblem(), nullptr);
    ASSERT_TRUE(runToEnd(result));
    EXPECT_EQ(result.channelCount, 4); // the own list's three components and the rest
    const SignalParameters& fitted = result.runComponents();
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(fitted.components[k].frequency, TRUTH[size_t(k)].frequency, 1e-6) << k;
    EXPECT_NEAR(fitted.level, LEVEL, 1e-6);
    EXPECT_NE(fitted.components[0].frequency, before.components[0].frequency);
    EXPECT_EQ(std::memcmp(&sourceList, &s.list(), sizeof sourceList), 0);
}

TEST(CAproxFinish, ComponentsAddedDuringTheRunKeepTheirValues) {
    Source s;
    CAprox result(&s.m, BlockRange{1, 0, 1000}, AproxOptions{});
    WaitingSink sink;
    ASSERT_TRUE(result.StartWorker(&sink));
    sink.waitDone(result.currentRun());
    SignalComponent late = component("late", 7.5);
    late.a = 3.0;
    appendComponent(s.list(), late);
    result.StopWorker();
    EXPECT_EQ(s.list().components[3].frequency, 7.5);
    EXPECT_EQ(s.list().components[3].a, 3.0);
    EXPECT_NEAR(s.list().components[0].frequency, 0.75, 1e-6);
}

TEST(CAproxFinish, WithoutARunNothingIsWrittenBack) {
    Source s;
    s.list().level = 5.0;
    CAprox result(&s.m, BlockRange{1, 0, 1000}, AproxOptions{});
    result.StopWorker(); // as "Recalculate" does before its dialog
    EXPECT_EQ(s.list().level, 5.0);
    EXPECT_EQ(s.list().components[0].frequency, 0.751);
}

TEST(CAproxRange, BackwardsRangeAnalysesTheSameSamples) {
    Source a, b;
    CAprox up(&a.m, BlockRange{1, 100, 200}, AproxOptions{});
    CAprox down(&b.m, BlockRange{1, 200, 100}, AproxOptions{});
    ASSERT_TRUE(runToEnd(up));
    ASSERT_TRUE(runToEnd(down));
    ASSERT_EQ(up.sampleCount, 100);
    ASSERT_EQ(down.sampleCount, 100);
    EXPECT_EQ(0, std::memcmp(up.blockBytes(), down.blockBytes(), size_t(up.sampleBytes())));
    EXPECT_EQ(a.list().components[1].a, b.list().components[1].a);
}

TEST(CAproxRefusal, BadRequestsNeverStartAndChangeNothing) {
    Source s;
    auto refused = [&](BlockRange range, const char* what) {
        SCOPED_TRACE(what);
        const SignalParameters before = s.list();
        EXPECT_NE(aproxRefusal(&s.m, range, AproxOptions{}), nullptr);
        CAprox result(&s.m, range, AproxOptions{});
        EXPECT_FALSE(result.StartWorker(nullptr));
        EXPECT_EQ(result.worker, nullptr);
        EXPECT_EQ(result.sampleCount, 0);
        result.StopWorker();
        EXPECT_EQ(0, std::memcmp(&before, &s.list(), sizeof before));
    };
    refused({3, 0, 10}, "channel past the last");
    refused({-1, 0, 10}, "negative channel");
    refused({1, 0, 1001}, "range past the end");
    refused({1, -5, 10}, "range before the start");
    refused({1, 40, 40}, "empty range");
    s.list().componentCount = 11;
    refused({1, 0, 10}, "eleven components");
    s.list().componentCount = 3;
    s.list().components[2].frequency = NAN;
    refused({1, 0, 10}, "frequency not a number");
    s.list().components[2].frequency = 4.1;
    EXPECT_EQ(aproxRefusal(&s.m, BlockRange{1, 0, 10}, AproxOptions{}), nullptr);
    CAprox closed(nullptr, BlockRange{1, 0, 10}, AproxOptions{});
    EXPECT_FALSE(closed.StartWorker(nullptr));
}
