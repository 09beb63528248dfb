// The wave number of a given frequency in water of a given depth, from the
// linear dispersion relation omega^2 = g k tanh(k h).
#pragma once

// k in rad/m for omega in rad/s and depth h in m; 0 for omega 0, NaN for a
// negative omega or a depth that is not positive.
double waveNumber(double omega, double depth);

// The same, Newton's iteration started from `guess` (> 0), the wave number
// of a nearby frequency: two or three steps instead of a fresh start.
double waveNumberNear(double omega, double depth, double guess);
