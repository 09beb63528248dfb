// The least-squares system of one frequency that splits the gauges'
// coefficients b_p = a_I e^(-ikx_p) + a_R e^(ikx_p) into an incident and a
// reflected wave.
//
// Zelt and Skjelbreia (1992) average the two-gauge estimates of every pair,
// weighted by sin^2(k dx_pq), so that a pair near a multiple of half a wave
// length counts for little. That weighted average is the plain least-squares
// solution: with S = sum_p e^(2ikx_p) both have the denominator
// P^2 - |S|^2 = 4 sum_(p<q) sin^2(k dx_pq) and the same numerators, so one
// solve serves Goda and Suzuki (two gauges), Mansard and Funke (three) and
// Zelt and Skjelbreia (any number).
#pragma once

#include <array>
#include <cmath>
#include <complex>
#include <vector>

#include "numeric/constants.h"

// The matrix [[P, S], [S*, P]] has eigenvalues P - |S| and P + |S|. For two
// gauges |S|/P = |cos(k dx)|, and Goda and Suzuki's range 0.05 < dx/L < 0.45
// is |S|/P < cos(0.1 pi); for more gauges the same bound keeps the condition
// number (P + |S|) / (P - |S|) below 39.9.
inline const double MAX_REFLECTION_COHERENCE = std::cos(0.1 * PI);

// |S|/P: 1 where every pair is a multiple of half a wave length apart.
inline double gaugeCoherence(const std::vector<double>& x, double k) {
    std::complex<double> s = 0;
    for (double p : x)
        s += std::polar(1.0, 2 * k * p);
    return std::abs(s) / double(x.size());
}

struct ReflectionSystem {
    using Complex = std::complex<double>;
    static constexpr size_t MAX_GAUGES = 16;

    std::array<Complex, MAX_GAUGES> e; // e^(ikx_p)
    Complex S;                         // sum e^(2ikx_p)
    double P = 0;
    double det = 0;

    // False where the gauges cannot tell the two waves apart.
    bool make(const std::vector<double>& x, double k) {
        P = double(x.size());
        S = 0;
        for (size_t p = 0; p < x.size(); ++p) {
            e[p] = std::polar(1.0, k * x[p]);
            S += e[p] * e[p];
        }
        det = P * P - std::norm(S);
        return std::abs(S) <= MAX_REFLECTION_COHERENCE * P;
    }

    // [[P, S], [S*, P]] [a_I, a_R] = [sum e b, sum conj(e) b]
    void solve(const Complex* b, size_t gauges, Complex& incident, Complex& reflected) const {
        Complex u = 0, v = 0;
        for (size_t p = 0; p < gauges; ++p) {
            u += e[p] * b[p];
            v += std::conj(e[p]) * b[p];
        }
        incident = (P * u - S * v) / det;
        reflected = (P * v - std::conj(S) * u) / det;
    }
};
