// The wave numbers of the modes a paddle makes at one frequency: the
// progressive wave k0 from omega^2 = g k tanh(kh), and the evanescent modes
// k_j = -i kappa_j, kappa_j tan(kappa_j h) = -omega^2 / g, which decay as
// exp(-kappa_j x) away from the paddle (Dean & Dalrymple 1991, ch. 6).
#pragma once

#include <complex>
#include <vector>

// How many evanescent modes the second-order paddle theory carries: enough
// that its transfer functions change by less than 1e-4 with more.
constexpr int SEA_EVANESCENT_MODES = 40;

// k0 first, then `evanescent` modes in order of kappa; e^(i (omega t - k x))
// is each mode's dependence on x and t. Empty for omega 0.
std::vector<std::complex<double>> waveModes(double omega, double depth, int evanescent);

// kappa_j of the j-th evanescent mode (j >= 1), inside ((j - 1/2) pi / h, j pi / h).
double evanescentWaveNumber(double omega, double depth, int j);
