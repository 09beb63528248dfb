// The flap velocity of a wave-maker signal: channel 1 as the time derivative
// of channel 0.
#pragma once

#include "measure/measure.h"

// Fills channel 1 with the derivative of channel 0, the real and imaginary
// parts separately: the five-point least-squares slope inside, the slopes of
// the least-squares parabola through the first and the last five samples at
// the ends. With fewer than 5 samples channel 1 is zero.
void deriveVelocity(CMeasure& m);
