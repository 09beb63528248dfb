// The linear stage of an approximation: amplitudes and level by least squares
// with the frequencies and dampings held.
#pragma once

#include "aprox/aprox_model.h"
#include "aprox/normal_equations.h"

// Fits a, d and level of `m` to the analysed samples of `p`, with the carriers
// of `m` (its factors must be current). Unknowns A_0, D_0, ..., A_(K-1),
// D_(K-1), c. False when the data do not determine them (two equal
// carriers, a carrier without sine part, no samples); `m` is then unchanged.
bool linearFit(const AproxParams& p, AproxModel& m, NormalEquations& equations);
