// Linear wave theory: the angular frequency and period of a wave of given
// length in water of given depth.
#pragma once

// omega from omega^2 = g k tanh(k h) with k = 2 pi / L. Not finite or not
// positive for lengths and depths that are.
double dispersionOmega(double waveLength, double depth);

// T = 2 pi / omega.
double dispersionPeriod(double waveLength, double depth);
