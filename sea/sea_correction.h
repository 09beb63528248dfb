// Correcting a drive from the sea it made. Where the measured block holds a
// whole repeat period of the sea, each generated component is measured on
// its own bin, and the flume's own transfer (against the sea the paddle's
// theory makes of the drive as played, averaged over a few components)
// gives the gain that brings it to the target's. A shorter block falls back to its Welch spectrum
// against the target, and the report warns that the correction cannot see better than that
// spectrum's scatter. Gains stay within [0.5, 2] so that one bad record cannot run the paddle away;
// components under the record's noise floor keep their gain of 1. Phases stay.
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

// A measured density under this many times the record's noise floor is
// taken as noise: its component keeps its gain rather than being halved
// round after round.
constexpr double SEA_NOISE_MARGIN = 2;
// A bin of the drive as played holding more or less than this many times
// its component's own power is mostly the ramps' leakage from others.
constexpr double SEA_LEAKAGE_MARGIN = 1.5;

// The target at the resolution of `measured`: the target's variance inside
// each bin's width, per Hz.
std::vector<double> targetAtResolution(const VarianceSpectrum& measured,
                                       const TargetSpectrum& target);

// The noise floor of `measured`: the median density outside the target's band.
double spectrumNoiseFloor(const VarianceSpectrum& measured, const TargetSpectrum& target);

// The relative energy error measured / target - 1 of each of the
// SEA_ENERGY_BANDS bands of the target's band, over the bins of `measured`.
std::vector<double> bandEnergyErrors(const VarianceSpectrum& measured,
                                     const TargetSpectrum& target);

// The gain sqrt(S_target / (S_measured - noise)) at each bin of `measured`,
// both summed over `smooth` bins around it, within [SEA_GAIN_MIN,
// SEA_GAIN_MAX]; 1 where the measured density is within SEA_NOISE_MARGIN of
// the noise floor.
std::vector<double> correctionGains(const VarianceSpectrum& measured, const TargetSpectrum& target,
                                    int32_t smooth);

// The gain of each generated component from its measured power (|X|^2 over
// whole repeat periods, `noise` the floor between components), the power
// of the sea the paddle's theory makes of the drive as played (`played`,
// ramps and all) and as generated (`generated`, before the ramps), and the
// wanted elevation (`wanted`): the flume's own transfer measured / played,
// averaged over `smooth` components, against wanted / generated. Within
// [SEA_GAIN_MIN, SEA_GAIN_MAX]; 1 near the noise floor and where the
// played bins are mostly leakage.
std::vector<double> repeatGains(const std::vector<double>& measured, double noise,
                                const std::vector<double>& played,
                                const std::vector<double>& generated,
                                const std::vector<double>& wanted, int32_t smooth);

// Why the wave of `p` has no spectrum to correct its drive to (a regular
// wave, a bichromatic group, a solitary wave), or null when it has one.
const char* notCorrectable(const SeaParameters& p);

// One correction round: `drive` (prepared or rendered from `p`, its
// components those of the drive that made `measured`, in m of elevation)
// gets its components multiplied by the gains and is rendered again; the
// report tells the measured Hm0, Tp and band energy errors before, the
// values of the block measured, and a warning when they were not whole
// repeat periods. False
// with `*error` set for a block too short for the spectrum, a block with no
// waves in the band, a smooth below 1, or a drive beyond the limits of `p`
// (the drive is then filled in).
bool correctSeaDrive(const SeaParameters& p, const BlockValues& measured, int32_t smooth,
                     SeaDrive& drive, std::string* error);
