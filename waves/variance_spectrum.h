// One-sided variance density spectrum by Welch's method (Welch 1967): Hann
// windowed segments with 50 % overlap, each with its own mean removed unless
// the block is taken as it is (Detrend::None).
#pragma once

#include <complex>
#include <functional>
#include <string>
#include <vector>

#include "waves/block_values.h"
#include "waves/detrend.h"

struct VarianceSpectrum {
    double df = 0;               // Hz between bins; bin j is at j * df
    std::vector<double> density; // unit^2/Hz, bins 0 .. segment/2
    int32_t segment = 0;         // samples per segment
    int32_t segmentCount = 0;
    // Equivalent degrees of freedom of the density at bins 1 .. segment/2-1
    // (half of it at bin 0 and Nyquist); 0 where unknown.
    double dof = 0;
    // The detrended block's variance the bins from f1 = df up do not hold:
    // what the segments' own means took out (a seiche, a drift slower than
    // one segment) and bin 0. Never below 0.
    double varianceBelowF1 = 0;
    double frequency(size_t j) const { return double(j) * df; }
};

// The segment length used when none is asked for: the largest power of two
// not above n/8, at least 256.
int32_t defaultSegment(size_t n);

// Checks the segment length `segment` (0: the default) against a block of
// `n` samples; false with `*error` set when it cannot be used.
bool chooseSegment(size_t n, int32_t segment, int32_t& chosen, std::string* error);

// Windowed Fourier coefficients of the segments of one block: coefficient j
// of segment s at [s * (segment/2 + 1) + j], j = 0 .. segment/2, and the
// factor that turns |X|^2 into a one-sided density (bins 1 .. segment/2-1;
// half of it for bin 0 and Nyquist).
struct SegmentSpectra {
    std::vector<std::complex<double>> coefficients;
    int32_t segment = 0;
    int32_t segmentCount = 0;
    double densityFactor = 0;
    double dof = 0; // of the average of |X|^2 over the segments, as VarianceSpectrum::dof
    size_t bins() const { return size_t(segment / 2 + 1); }
};

// False with `*error` set for a bad sample rate or segment, or when FFTW
// could not plan the transform.
bool segmentSpectra(const std::vector<double>& values, double sampleRate, int32_t segment,
                    SegmentSpectra& out, std::string* error);
// The same, the segments' own means left in when `removeSegmentMeans` is false.
bool segmentSpectra(const std::vector<double>& values, double sampleRate, int32_t segment,
                    bool removeSegmentMeans, SegmentSpectra& out, std::string* error);

// The same, each segment's coefficients handed to `visit` in order of the
// segments (s = 0, 1, ...) instead of kept; `out` gets all but them.
using SegmentVisitor = std::function<void(int32_t s, const std::complex<double>* bins)>;
bool visitSegmentSpectra(const std::vector<double>& values, double sampleRate, int32_t segment,
                         bool removeSegmentMeans, SegmentSpectra& out, const SegmentVisitor& visit,
                         std::string* error);

// The Fourier coefficients 0 .. n/2 (FFTW's forward sign, unscaled) of the
// real sequences a and b (b may be null), both of length n, through one
// complex transform. False when no plan or memory could be had.
bool realTransformPair(const double* a, const double* b, int32_t n, std::complex<double>* outA,
                       std::complex<double>* outB);

// The averaged density, |X|^2 / (rate sum(w^2)) doubled but at bin 0 and
// Nyquist: a band's variance is what the segments held in it.
bool varianceSpectrum(const BlockValues& block, int32_t segment, VarianceSpectrum& out,
                      std::string* error);
// The same after `detrend` has been taken out of the block; varianceBelowF1
// is counted from the detrended block's mean square (Detrend::None keeps the
// block's mean in, at bin 0 and, through the window, bin 1).
bool varianceSpectrum(const BlockValues& block, int32_t segment, Detrend detrend,
                      VarianceSpectrum& out, std::string* error);
