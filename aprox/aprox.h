// The result of an approximation: one channel per fitted component and the
// rest, computed by AproxWorker, with the fitted values carried back into the
// source's component list when a run ends.
#pragma once

#include "analysis/calculation.h"
#include "aprox/aprox_options.h"
#include "aprox/aprox_params.h"

// Why a run of `range` on `source` cannot start, or null when it can: the
// channel and range bounds of checkRange, then a component count outside
// 0 .. 10, an empty range, a sample rate that is not positive, a negative
// frequency, and start values that are not finite (frequencies; dampings with
// use_eta; amplitudes and level with use_ad).
const char* aproxRefusal(const CMeasure* source, const BlockRange& range,
                         const AproxOptions& options);
// The same for a run on `list` instead of the channel's own list.
const char* aproxRefusal(const CMeasure* source, const BlockRange& range,
                         const SignalParameters& list, const AproxOptions& options);

class CAprox : public CCalculation {
  public:
    CAprox(CMeasure* source, const BlockRange& range, const AproxOptions& options);

    // aproxRefusal for the list this result runs on.
    const char* RunProblem() const;

    // Writes the fitted frequency, a, d, eta and level of the run that just
    // ended into the list it ran on (see useOwnComponents).
    void Finish() override;

    AproxParams& aproxParams() { return static_cast<AproxParams&>(*params); }
    const AproxParams& aproxParams() const { return static_cast<const AproxParams&>(*params); }

    AproxOptions options;

  protected:
    // Refuses what aproxRefusal names before the layout changes; false too
    // when the sample block cannot be obtained.
    bool Build() override;
    WorkerBody Body() const override;

  private:
    void layOut(int32_t components, int32_t count);
    void fillParams(const SignalParameters& list, int32_t first, int32_t count);

    // A run was built whose values have not yet been carried back.
    bool pending_ = false;
};
