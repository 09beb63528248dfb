// Correcting a drive from the sea it made: the measured block's variance
// spectrum (Welch, the wave analysis' default segments) against the target,
// and each drive component multiplied by sqrt(S_target / S_measured),
// averaged over a few bins of the measured spectrum and kept within
// [0.5, 2] so that one bad record cannot run the paddle away. Phases stay.
#pragma once

#include <string>
#include <vector>

#include "sea/sea_synthesis.h"
#include "waves/block_values.h"
#include "waves/variance_spectrum.h"

constexpr double SEA_GAIN_MIN = 0.5;
constexpr double SEA_GAIN_MAX = 2.0;
// The generated band is cut into this many bands of equal width for the
// band energy error.
constexpr int SEA_ENERGY_BANDS = 10;
constexpr int32_t SEA_DEFAULT_SMOOTH = 5;
// A record whose Hm0 in the band is below this share of the target's holds
// no waves of the drive (a still gauge, the wrong channel): it is refused.
constexpr double SEA_LEAST_MEASURED_SHARE = 0.01;

// The drive's components from a drive signal (as read back from its file),
// on the frequencies of drive.target: the displacement is divided by the
// ramps of `p`, transformed, and kept inside the band. `displacement` must
// have seaSampleCount(p) samples. False when the memory is not there.
bool componentsFromDisplacement(const SeaParameters& p, const std::vector<double>& displacement,
                                SeaDrive& drive, std::string* error);

// The target as the measured spectrum's Hann-windowed segments see it: at
// each of its bins, the target's variance spread by the window's power
// response |W|^2 (main lobe 2 bins each side). A sea that is exactly the
// target is measured as this, peak rounded and edges blurred, so the gains
// and errors compare with it rather than with the target itself.
std::vector<double> targetAsMeasured(const VarianceSpectrum& measured,
                                     const TargetSpectrum& target);

// The relative energy error measured / target - 1 of each of the
// SEA_ENERGY_BANDS bands of the target's band, over the bins of `measured`.
std::vector<double> bandEnergyErrors(const VarianceSpectrum& measured,
                                     const TargetSpectrum& target);

// The gain sqrt(S_target / S_measured) at each bin of `measured` (the
// target as targetAsMeasured gives it), both
// summed over `smooth` bins around it, within [SEA_GAIN_MIN, SEA_GAIN_MAX];
// 1 where neither holds variance.
std::vector<double> correctionGains(const VarianceSpectrum& measured, const TargetSpectrum& target,
                                    int32_t smooth);

// One correction round: `drive` (prepared or rendered from `p`, its
// components those of the drive that made `measured`, in m of elevation)
// gets its components multiplied by the gains and is rendered again; the
// report tells the measured Hm0, Tp and band energy errors before. False
// with `*error` set for a block too short for the spectrum, a block with no
// waves in the band, a smooth below 1, or a drive beyond the limits of `p`
// (the drive is then filled in).
bool correctSeaDrive(const SeaParameters& p, const BlockValues& measured, int32_t smooth,
                     SeaDrive& drive, std::string* error);
