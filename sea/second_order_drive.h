// The second-order parts of a drive (second_order_pair.h): for an
// irregular sea, every pair of its first-order components on the FFT's
// bins; for a regular wave or a bichromatic pair, the few terms themselves.
#pragma once

#include <complex>
#include <vector>

#include "sea/sea_parameters.h"
#include "sea/target_spectrum.h"

using Complex = std::complex<double>;

// Above this Ursell number H L^2 / h^3 (L the linear wavelength) a wave is
// beyond second-order theory: in shallow water Stokes' second harmonic is
// a2 / a1 = 3 Ur / (32 pi^2), and at Ur = 8 pi^2 / 3 (about 26) it reaches a
// quarter of the first, where the trough grows a second crest.
constexpr double SEA_SECOND_ORDER_MAX_URSELL = 26;

// The grid of frequency pairs the transfer functions are interpolated on.
constexpr int SEA_PAIR_GRID_NODES = 48;

double ursellNumber(double height, double period, double depth);
// The Ursell number of the wave `p` makes: a regular wave's, a bichromatic
// group's highest (H1 + H2 at the longer period), a sea's at Hm0 and Tp.
double seaUrsellNumber(const SeaParameters& p);

// What the subharmonics are multiplied by: 1, or with limitSubharmonics
// SEA_SECOND_ORDER_MAX_URSELL / Ur of the sea at its peak where Ur is above
// the limit, so that the bound long waves and their paddle motion stay
// those of a sea inside second-order theory's range.
double subharmonicFactor(const SeaParameters& p);

// The band whose components interact: [pairFmin, pairFmax] or the band
// generated, in Hz.
void pairBand(const SeaParameters& p, const TargetSpectrum& target, double& low, double& high);

// The second-order displacement and bound elevation of an irregular sea on
// the bins 0 .. n/2 of an n-sample drive, as half amplitudes (a bin's signal
// is 2 Re(c e^(i w t))) like the first order's: from `stroke`, its
// first-order components X on target's bins, and `transfer`, H/S there.
// Sums that reach half the sampling rate are left out, and differences
// below seaDifferenceFmin(p).
struct SecondOrderBins {
    std::vector<Complex> stroke, elevation;
};
SecondOrderBins secondOrderBins(const SeaParameters& p, const TargetSpectrum& target,
                                const std::vector<Complex>& stroke,
                                const std::vector<double>& transfer, int64_t samples);

// One term of a wave evaluated directly: elevation and displacement as
// Re(c e^(i omega t)).
struct DirectTerm {
    double omega;
    Complex elevation, stroke;
};
// A regular wave's or a bichromatic pair's terms, their crests at t = 0,
// with the second-order ones `p` asks for (sums below half the sampling
// rate, as for a sea).
std::vector<DirectTerm> directTerms(const SeaParameters& p);
