// The approximation worker: a level plus up to ten damped sinusoids fitted to
// one channel's range, first linearly in the amplitudes, then by Newton's
// method in all parameters.
#pragma once

#include "aprox/aprox_params.h"

// The worker body. Reads the record and the source samples, writes the result
// rows and the fitted values into the record, and posts CMD_CALC_DONE unless
// cancelled. Returns 0.
int AproxWorker(WorkerParams& params);

// The same run without the final message.
void runAprox(AproxParams& p);

// Whether a record can be run at all: a component count of 0 .. 10, a positive
// sample rate, sample buffers for a non-empty range, and finite start values
// (frequencies; dampings with use_eta; amplitudes and level with use_ad).
bool aproxRecordUsable(const AproxParams& p);
