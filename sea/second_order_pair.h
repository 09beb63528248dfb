// Second-order theory for two first-order wave components made by a piston
// or a flap: the bound wave they force together and the paddle's second-
// order motion that makes it without spurious free waves (Schaffer 1996,
// "Second-order wavemaker theory for irregular waves", Ocean Engineering
// 23(1) 47-88), for the sum frequency and, with one component conjugated
// (conjugate()), the difference frequency.
//
// The boundary-value problem is Schaffer's; the equations below are written
// out here as this file solves them (derived from that problem, so that
// each can be checked without the paper). A component is
// Re(A e^(i (omega t - k x))) in elevation; its potential
// Re(sum_j P_j C_j(s) e^(i (omega t - k_j x))), C_j = cosh(k_j s) / cosh(k_j h),
// s = z + h, over the progressive and evanescent modes (wave_modes.h).
//  (1) free surface, z = 0:  phi2_tt + g phi2_z = -d/dt |grad phi1|^2
//                              + (1/g) phi1_t d/dz (phi1_tt + g phi1_z)
//  (2) elevation:            eta2 = -(1/g) phi2_t - |grad phi1|^2 / (2g)
//                              + phi1_t phi1_tz / g^2
//  (3) paddle, x = X f(z):   phi2_x = X2_t f - X1 phi1_xx + X1_z phi1_z
// Each pair of modes (j of a, l of b) forces through (1) a bound potential
// B_jl cosh(kappa s) / cosh(kappa h), kappa = k_aj + k_bl; the rest of phi2
// is free waves at Omega = omega_a + omega_b. Projecting (3) on the free
// progressive mode's profile C_K (the profiles of one frequency are
// orthogonal over the depth) and asking its amplitude to vanish gives
//  (4) i Omega X2 int f C_K + int W C_K + sum_jl i kappa B_jl int C_kappa C_K = 0,
// W the first-order products of (3). With every evanescent pair included
// this is Schaffer's full second-order transfer function, his F = F_prog +
// F_evan for sub- and superharmonics alike.
#pragma once

#include <complex>
#include <vector>

#include "sea/paddle_transfer.h"

using Complex = std::complex<double>;

// One first-order component per unit elevation amplitude A at the paddle.
struct PaddleWave {
    double omega = 0;               // rad/s (negative once conjugated)
    Complex stroke;                 // X / A: the paddle's displacement at the still-water level
    std::vector<Complex> k;         // the modes' wave numbers, progressive first
    std::vector<Complex> potential; // P_j / A
};

// The component of frequency omega, its evanescent modes included.
PaddleWave paddleWave(double omega, const Paddle& paddle, double depth, int evanescent);

// The component conjugated: the partner in a difference-frequency pair.
PaddleWave conjugate(const PaddleWave& wave);

// Per unit A_a A_b, for two distinct components (a self-interaction is half
// of the pair of a component with itself): the paddle's second-order
// displacement at omega_a + omega_b and the bound elevation of the two
// progressive waves there (Sharma & Dean 1981; Hasselmann 1962), both as
// complex amplitudes of e^(i (omega_a + omega_b) t) at the paddle.
struct PairTransfer {
    Complex stroke;
    Complex elevation;
};

// `omega_a + omega_b` must not be 0.
PairTransfer pairTransfer(const PaddleWave& a, const PaddleWave& b, const Paddle& paddle,
                          double depth);
