#include "analysis/calculation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "test_calculation.h"

// Sample j of channel c in the source is (100 c + j, -j); the copy analysis
// stores source sample first + k as unit k, and -1 marks a unit not computed.

TEST(CalculationThread, CancelMidRunKeepsExactlyTheFinishedUnits) {
    CMeasure source;
    fillSource(source, 3, 200);
    RecordingSink sink;
    CCopy result(&source, {2, 20, 120});
    result.copyParams().gate.store(0);
    ASSERT_TRUE(result.StartWorker(&sink));
    EXPECT_EQ(result.sampleCount, 0); // nothing finished yet
    result.copyParams().gate.store(37);
    waitForDone(*result.params, 37);
    EXPECT_EQ(result.state(), CalcState::Running);

    result.StopWorker();
    EXPECT_EQ(result.state(), CalcState::Idle);
    EXPECT_EQ(result.sampleCount, 37);
    EXPECT_EQ(result.finishes, 1);
    for (int k = 0; k < 37; ++k)
        EXPECT_EQ(result.pairRows()[k].re, 220.0f + k) << k;
    EXPECT_EQ(result.pairRows()[37].re, -1.0f);
    EXPECT_EQ(sink.count(CMD_CALC_DONE), 0); // a cancelled run posts no DONE
}

TEST(CalculationThread, RestartAfterCancelRunsToTheEnd) {
    CMeasure source;
    fillSource(source, 1, 100);
    RecordingSink sink;
    CCopy result(&source, {0, 100, 0}); // backward: the same 100 samples
    result.copyParams().gate.store(10);
    ASSERT_TRUE(result.StartWorker(&sink));
    waitForDone(*result.params, 10);
    result.StopWorker();
    EXPECT_EQ(result.sampleCount, 10);

    result.copyParams().gate.store(INT32_MAX);
    ASSERT_TRUE(result.StartWorker(&sink));
    Message done = sink.waitFor(CMD_CALC_DONE, result.currentRun());
    EXPECT_EQ(done.done, 100);
    while (result.state() == CalcState::Running)
        std::this_thread::yield();
    EXPECT_EQ(result.state(), CalcState::Ended); // until the window takes the message
    EXPECT_TRUE(result.OnWorkerMessage(CMD_CALC_DONE, done.run));
    EXPECT_EQ(result.state(), CalcState::Idle);
    EXPECT_EQ(result.sampleCount, 100);
    EXPECT_EQ(result.pairRows()[99].re, 99.0f);
    EXPECT_EQ(result.finishes, 2);
}

TEST(CalculationThread, StaleDoneDoesNotStopTheNextRun) {
    CMeasure source;
    fillSource(source, 1, 50);
    RecordingSink sink;
    CCopy result(&source, {0, 0, 50});
    ASSERT_TRUE(result.StartWorker(&sink));
    uint32_t first = result.currentRun();
    sink.waitFor(CMD_CALC_DONE, first); // posted, not yet handled by the window

    // The user restarts before the window sees it.
    result.copyParams().gate.store(5);
    ASSERT_TRUE(result.StartWorker(&sink));
    EXPECT_NE(result.currentRun(), first);
    EXPECT_FALSE(result.OnWorkerMessage(CMD_CALC_DONE, first));
    EXPECT_FALSE(result.OnWorkerMessage(CMD_CALC_PROGRESS, first));
    EXPECT_NE(result.worker, nullptr);

    result.copyParams().gate.store(INT32_MAX);
    ASSERT_EQ(sink.waitFor(CMD_CALC_DONE, result.currentRun()).command, CMD_CALC_DONE);
    EXPECT_TRUE(result.OnWorkerMessage(CMD_CALC_DONE, result.currentRun()));
    EXPECT_EQ(result.sampleCount, 50);
    // A second DONE of a run already stopped finishes nothing again.
    int finishes = result.finishes;
    EXPECT_FALSE(result.OnWorkerMessage(CMD_CALC_DONE, result.currentRun()));
    EXPECT_EQ(result.finishes, finishes);
}

TEST(CalculationThread, ProgressIsPostedAfterHalfASecond) {
    CMeasure source;
    fillSource(source, 1, 10);
    RecordingSink sink;
    CCopy result(&source, {0, 0, 10});
    result.copyParams().gate.store(1);
    ASSERT_TRUE(result.StartWorker(&sink));
    waitForDone(*result.params, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(600)); // past the 500 ms interval
    result.copyParams().gate.store(4);
    Message progress = sink.waitFor(CMD_CALC_PROGRESS, result.currentRun());
    EXPECT_GE(progress.done, 2);
    EXPECT_LE(progress.done, 4);
    EXPECT_TRUE(result.OnWorkerMessage(CMD_CALC_PROGRESS, progress.run));
    EXPECT_GE(result.sampleCount, 2); // follows done
    result.StopWorker();
}

TEST(CalculationThread, SeveralResultsComputeAtOnce) {
    CMeasure source;
    fillSource(source, 4, 3000);
    RecordingSink sink;
    std::vector<std::unique_ptr<CCopy>> results;
    for (int c = 0; c < 4; ++c) {
        results.push_back(std::make_unique<CCopy>(&source, BlockRange{c, 3000, 100 * c}));
        ASSERT_TRUE(results.back()->StartWorker(&sink));
    }
    for (auto& r : results) {
        sink.waitFor(CMD_CALC_DONE, r->currentRun());
        r->StopWorker();
    }
    for (int c = 0; c < 4; ++c) {
        ASSERT_EQ(results[size_t(c)]->sampleCount, 3000 - 100 * c);
        EXPECT_EQ(results[size_t(c)]->pairRows()[5].re, float(100 * c + 100 * c + 5));
    }
}

TEST(CalculationThread, DestroyingOrClosingStopsARunningWorker) {
    CMeasure source;
    fillSource(source, 1, 100);
    RecordingSink sink;
    {
        CCopy result(&source, {0, 0, 100});
        result.copyParams().gate.store(3); // the worker waits at unit 3 until cancelled
        ASSERT_TRUE(result.StartWorker(&sink));
        waitForDone(*result.params, 3);
    } // joins here; a worker left running would write into freed memory

    CCopy closing(&source, {0, 0, 100});
    closing.copyParams().gate.store(8);
    ASSERT_TRUE(closing.StartWorker(&sink));
    waitForDone(*closing.params, 8);
    closing.CloseSource();
    EXPECT_EQ(closing.worker, nullptr);
    EXPECT_EQ(closing.sampleCount, 8);
    EXPECT_FALSE(closing.StartWorker(&sink)); // "Closed": nothing to recompute
    EXPECT_EQ(closing.sampleCount, 8);
    EXPECT_EQ(sink.count(CMD_CALC_DONE), 0);
}
