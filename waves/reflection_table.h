// The separated spectra as a table a file can hold: incident, reflected and a
// flag column, 1 for the bands the gauges resolved and 0 for those left out
// (their densities 0), so that no row holds a value that is not a number.
#pragma once

#include "measure/measure.h"
#include "waves/reflection.h"

bool reflectionTableMeasure(const ReflectionResult& result, const char* unit, CMeasure& out);
