// Running an analysis result's worker from Python: the GIL is released while
// it runs, and Ctrl+C (a pending signal) cancels it through the cancel flag.
#pragma once

#include "analysis/calculation.h"

// Starts the worker and waits for its end. False when it could not start.
// A KeyboardInterrupt (or any other error a signal handler raised) stops the
// worker and propagates as error_already_set.
bool runWorker(CCalculation& result);
