// Sea state parameters from a variance density spectrum, as defined in the
// IAHR list of sea state parameters (IAHR/PIANC 1986).
#pragma once

#include <string>
#include <vector>

#include "waves/variance_spectrum.h"

struct SpectralBand {
    double fmin = 0; // Hz; 0: from the first non-zero bin
    double fmax = 0; // Hz; 0: up to the last bin (Nyquist)
};

// Moments m_n = sum f^n S(f) df over the bins inside the band.
struct SpectralParameters {
    double fmin = 0, fmax = 0; // the band used: the first and last bin inside it
    int32_t binCount = 0;
    double mMinus1 = 0, m0 = 0, m1 = 0, m2 = 0;
    double hm0 = 0; // 4 sqrt(m0)
    double fp = 0;  // frequency of the largest density
    double tp = 0;  // 1 / fp
    // Peak periods less tied to one bin of a noisy estimate, all over the band:
    double tpParabola = 0; // 1 / the vertex of the parabola through the largest bin and its
                           // neighbours (the largest bin itself at the band's edge)
    double tp5 = 0;        // 1 / fp5, fp5 = sum f S^5 / sum S^5
    double tpD = 0;        // Delft: 1 / (sum f S / sum S over the bins with S >= 0.8 Smax)
    double tm01 = 0;       // m0 / m1
    double tm02 = 0;       // sqrt(m0 / m2)
    double tm10 = 0;       // Tm-1,0 = m-1 / m0
    double width = 0;      // nu = sqrt(m0 m2 / m1^2 - 1), Longuet-Higgins (1975)
    double qp = 0;         // Goda (1970) peakedness 2 / m0^2 sum f S^2 df
};

// The bins first..last inside `band` of a spectrum of `bins` bins `df` apart,
// from the first non-zero bin up to the last unless the band says otherwise;
// half a bin of slack keeps a band edge typed from a printed frequency. False
// with `*error` set for limits that are not numbers >= 0, fmax below fmin, a
// limit above `nyquist` (Hz) or a band that holds no bin.
bool bandBins(const SpectralBand& band, double df, size_t bins, double nyquist, size_t& first,
              size_t& last, std::string* error);

// The bin number (fractional) of the vertex of the parabola through the bins
// peak-1, peak and peak+1 of `S`; `peak` itself when it is first or last of
// the bins looked at, or when the three do not bend downwards.
double parabolaPeakBin(const std::vector<double>& S, size_t peak, size_t first, size_t last);

// False with `*error` set when the band is bad or holds no bin with variance.
bool spectralParameters(const VarianceSpectrum& spectrum, const SpectralBand& band,
                        SpectralParameters& out, std::string* error);

std::vector<std::string> spectralParameterLines(const SpectralParameters& p, const char* unit);
// The lines of Tp parabola, Tp5 and TpD.
std::vector<std::string> peakPeriodLines(const SpectralParameters& p);
