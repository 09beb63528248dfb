// Running an analysis result to its end without a window: this thread takes
// the worker's messages as a result window would.
#pragma once

#include "analysis/calculation.h"

// Starts the worker, follows its progress (a line on stderr headed `label`
// when stderr is a terminal) and stops it on its done message. False when the
// run was refused or could not start; the result is then as StartWorker left it.
bool runCalculation(CCalculation& result, const char* label);

// Prints a run's progress on stderr, after a carriage return, without a line end.
using ProgressLine = void (*)(const CCalculation& result);

// As above, for workers that post no progress of their own: `line` is shown
// every 200 ms while the worker runs (when stderr is a terminal) and cleared
// at the end. The wait itself ends on the done message, not on the timer.
bool runCalculation(CCalculation& result, ProgressLine line);
