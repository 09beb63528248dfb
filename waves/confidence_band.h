// The confidence interval of a Welch density: S_est * nu / S is taken as
// chi-square with nu equivalent degrees of freedom (Welch 1967; Percival and
// Walden 1993, on the WOSA estimator), so that S lies in
// [nu S_est / chi2_(1+c)/2(nu), nu S_est / chi2_(1-c)/2(nu)] with
// probability c.
#pragma once

#include <cstdint>
#include <vector>

#include "waves/variance_spectrum.h"

// nu = 2K / (1 + 2 sum_{j=1}^{K-1} (1 - j/K) rho(j)^2) for K segments of the
// window `w` started `step` samples apart, rho(j) = sum_n w(n) w(n + j step) /
// sum_n w(n)^2, the sum over the overlap (Welch 1967; Percival and Walden
// 1993). For the Hann window at 50 % overlap rho(1) = 1/6 (rho(j) = 0 for
// j > 1), so nu = 36K^2 / (19K - 1).
double welchDegreesOfFreedom(const std::vector<double>& w, int32_t step, int32_t segments);

struct ConfidenceBand {
    double level = 0;                 // 0.9 for 90 %
    double dof = 0;                   // nu of bins 1 .. N/2-1
    double lowerFactor = 0;           // nu / chi2_(1+level)/2(nu): lower = lowerFactor * S
    double upperFactor = 0;           // nu / chi2_(1-level)/2(nu)
    std::vector<double> lower, upper; // per bin, unit^2/Hz
};

// The band of `spectrum` at `level` (0 < level < 1). Bin 0 and Nyquist, real
// in every segment, have half the degrees of freedom. False when the spectrum
// does not know its degrees of freedom.
bool confidenceBand(const VarianceSpectrum& spectrum, double level, ConfidenceBand& out);

// The level of the band the analyses give.
constexpr double CONFIDENCE_LEVEL = 0.9;
