// Releasing a measurement cuts loose exactly the open results computed from it.
#include <gtest/gtest.h>

#include <memory>

#include "analysis/result_registry.h"
#include "test_calculation.h"

namespace {

std::unique_ptr<CMeasure> source(int32_t samples) {
    auto m = std::make_unique<CMeasure>();
    m->channelCount = 1;
    m->sampleCount = samples;
    m->sampleRate = 10.0;
    m->allocateSamples();
    for (int32_t j = 0; j < samples; ++j)
        m->setSample(int(j % m->channelCount), j / m->channelCount, Sample{float(j), 0.0f});
    return m;
}

struct NullSink : MessageSink {
    void post(int, int32_t, uint32_t) override {}
};

} // namespace

TEST(ResultRegistryTest, ClosingASourceStopsOnlyItsOwnResults) {
    auto a = source(100);
    auto b = source(100);
    NullSink sink;
    CCopy fromA(a.get(), BlockRange{0, 0, 100});
    CCopy fromB(b.get(), BlockRange{0, 0, 100});
    fromA.copyParams().gate = 10; // held inside the block until cancelled
    ASSERT_TRUE(fromA.StartWorker(&sink));
    registerResult(&fromA);
    registerResult(&fromA);
    registerResult(&fromB);
    EXPECT_TRUE(isRegisteredResult(&fromA));

    closeResultsOf(a.get());
    EXPECT_EQ(fromA.source, nullptr);
    EXPECT_EQ(fromA.state(), CalcState::Idle);
    EXPECT_EQ(fromA.finishes, 1); // stopped once, though registered twice
    EXPECT_EQ(fromB.source, b.get());

    unregisterResult(&fromA);
    unregisterResult(&fromB);
    EXPECT_FALSE(isRegisteredResult(&fromA));
    closeResultsOf(b.get()); // no longer registered: left alone
    EXPECT_EQ(fromB.source, b.get());
}
