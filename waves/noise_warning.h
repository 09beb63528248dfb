// Warnings that gauge noise has taken over a result, each with the option
// that would keep it out: noise crossings cut the waves into many tiny
// ones (lowering H1/3 and Tz), a flat noise floor up to Nyquist weighs on
// m2 (lowering Tm02).
#pragma once

#include <string>
#include <vector>

#include "waves/spectral_parameters.h"
#include "waves/wave_by_wave.h"

struct NoiseWarning {
    std::string what;   // what was seen, one clause without a full stop
    std::string option; // "threshold" or "fmax", as ondarix-batch names it
    double value = 0;   // a value of it that helps
};

// Noise crossings: more than NOISE_WAVE_SHARE of the waves lower than
// NOISE_WAVE_HEIGHT * H1/3, where a sea, broad as it may be, has a few per
// cent. The threshold suggested is the RMS height of those small waves.
constexpr double NOISE_WAVE_HEIGHT = 0.1;
constexpr double NOISE_WAVE_SHARE = 0.15;
std::vector<NoiseWarning> waveNoiseWarnings(const WaveStatistics& s);

// A noise tail: above 3 fp up to the band's top the density levels off (the
// median of the top quarter of that range within NOISE_TAIL_FLATNESS of the
// quarter below it, where a sea's f^-4 or f^-5 tail keeps falling), and
// that floor over the whole band holds more than NOISE_TAIL_M2_SHARE of m2.
// m2 rather than m0: 2 mm of noise is under 1 % of m0 for a sea of Hm0
// 0.1 m, yet halves Tm02 when sampled at 50 Hz. The fmax suggested is where
// the density above fp first falls to twice the floor.
constexpr double NOISE_TAIL_FLATNESS = 1.5;
constexpr double NOISE_TAIL_M2_SHARE = 0.1;
std::vector<NoiseWarning> spectrumNoiseWarnings(const VarianceSpectrum& s,
                                                const SpectralParameters& p);

// "what; try --threshold 0.0047" for ondarix-batch.
std::string batchWarningText(const NoiseWarning& w);
// "what; try threshold=0.0047" for Python.
std::string pythonWarningText(const NoiseWarning& w);
// "What; try Threshold 0.0047." for the desktop's result window.
std::string windowWarningText(const NoiseWarning& w);
