// The waves of a wave-by-wave analysis as a measurement, one row per wave in
// the order they came (sampleRate 1, so row j is wave j + 1 at X = j), so
// that their heights and periods plot as curves.
#pragma once

#include "measure/measure.h"
#include "waves/wave_by_wave.h"

// Two channels: "H" in `unit` and "T" in s. False when there is no wave or
// the memory is not there.
bool waveListMeasure(const WaveStatistics& stats, const char* unit, CMeasure& out);
