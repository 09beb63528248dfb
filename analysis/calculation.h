// An analysis result: a measurement of its own, filled by one worker thread.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "analysis/message_sink.h"
#include "analysis/worker_params.h"
#include "analysis/worker_thread.h"
#include "measure/measure.h"

enum class CalcState {
    Idle,    // no worker
    Running, // the worker fills the result
    Ended,   // the worker has returned; its CMD_CALC_DONE is on the way
};

// Whether a channel and range can be read from a source.
enum class RangeCheck { Ok, Closed, BadChannel, BadRange, NoSamples };
RangeCheck checkRange(const CMeasure* source, const BlockRange& range);
const char* rangeCheckText(RangeCheck check);

class CCalculation : public CMeasure {
  public:
    // Starts empty; the derived constructor allocates `params`.
    CCalculation(CMeasure* source, const BlockRange& range);
    // Stops a running worker before anything it uses is released.
    ~CCalculation() override;

    void AddComponent(int32_t channel, int32_t sample) override;
    // X value, then real and imaginary part of every channel, "%6e", CR LF.
    bool WriteText(std::FILE* stream) override;
    int32_t TextValuesPerRow() const override { return 2 * channelCount; }
    // Runs after every StopWorker; may find `source` null.
    virtual void Finish() {}

    // Build step, reset, start. Refuses (false, result unchanged) a closed
    // source or a channel or range outside it, and so may the build step; a
    // buffer or thread that cannot be obtained leaves an empty result (false).
    bool StartWorker(MessageSink* window);
    // Cancel, join, sample count = done, Finish. Also without a worker.
    void StopWorker();
    // The window side of a worker message. Messages of an earlier run are
    // ignored. Returns true when the result changed and the view should be
    // refreshed.
    bool OnWorkerMessage(int command, uint32_t run);
    // The source is about to be released: stop the worker, then forget it.
    void CloseSource();

    CalcState state() const;
    bool closed() const { return source == nullptr; }
    uint32_t currentRun() const { return runs_; }
    // The source's path, or "Closed", followed by `suffix`; at most 285 characters.
    std::string Title(const char* suffix) const;

    // Runs on a component list of the result's own, and carries the run's
    // estimates back into it, instead of the analysed channel's list of the
    // source: a source shared between threads is then only read.
    void useOwnComponents(const SignalParameters& list) { ownComponents_ = list; }
    // The list a run reads: the own one, or the list of the source's channel
    // (which must be there).
    const SignalParameters& runComponents() const;
    // Why the source's block cannot be analysed: "row R of channel C is not a
    // finite number", or empty. For a range that passed checkRange.
    std::string blockRefusal() const;

    std::unique_ptr<WorkerThread> worker;
    BlockRange range;
    std::unique_ptr<WorkerParams> params;
    CMeasure* source;

  protected:
    // Shapes the result, sizes its buffer and fills `params` (head fields
    // and the analysis's own). Runs only when the range has been checked.
    // False when the result buffer could not be obtained.
    virtual bool Build() = 0;
    virtual WorkerBody Body() const = 0;
    // Whether the analysis reads the imaginary parts of its block too.
    virtual bool readsImaginary() const { return false; }

    // Fills the head fields that every analysis fills the same way.
    void fillHead(int32_t first, int32_t count);
    // Cancels and joins without Finish; a derived destructor whose worker
    // reads members of its own calls it first.
    void joinWorker();
    // Where Finish carries back a run built for `channel`: the own list, or
    // the source channel's; null when the source no longer holds that channel.
    SignalParameters* finishComponents(int32_t channel);

  private:
    uint32_t runs_ = 0; // the current run; 0 before the first start
    std::optional<SignalParameters> ownComponents_;
};
