// Irregular seas for the wave-maker, from target spectrum to paddle drive.
//
// Building on it (a dialog, a window, a script):
//   SeaParameters p;                    // every field a dialog asks for (sea_parameters.h)
//   std::string why = validateSeaParameters(p);   // non-empty: show it, keep the dialog open
//   SeaDrive drive;
//   if (!synthesiseSea(p, drive, &why)) ...      // why: band, limits, memory
//   drive.displacement / drive.velocity          // the paddle at still-water level, m and m/s
//   drive.elevation                              // the sea the drive makes in theory, m
//   drive.target.frequency(k), drive.target.binDensity  // the target spectrum
//   seaReportLines(drive.report, p)              // the report (sea_report.h)
//   seaDriveMeasure(drive, m)                    // a measurement to show or save as .M11
// Correction from a measured record: sea_correction.h.
//
// The sea is a sum of components at the frequencies k / (N dt) inside the
// band, so it repeats after N samples; one inverse FFT gives the drive's
// displacement and velocity together (the velocity from the derivative of
// each component, not from differences), another the elevation. Cosine
// ramps at both ends start and stop the paddle at rest.
#pragma once

#include <complex>
#include <string>
#include <vector>

#include "measure/measure.h"
#include "sea/sea_parameters.h"
#include "sea/sea_report.h"
#include "sea/second_order_drive.h"
#include "sea/target_spectrum.h"

struct SeaDrive {
    double dt = 0;
    std::vector<double> displacement; // m, ramped
    std::vector<double> velocity;     // m/s, the derivative of the displacement
    std::vector<double>
        elevation; // m, the sea at the paddle by the drive's order of theory, ramped
    // The drive's components before the ramps: displacement =
    // sum 2 Re(components[i] e^(2 pi i f t)), f = target.frequency(target.firstBin + i).
    std::vector<std::complex<double>> components;
    // With order 2, an irregular sea's second-order parts on the drive's
    // bins (worked out from `components` as it is rendered).
    SecondOrderBins second;
    TargetSpectrum target; // empty for a regular sea
    SeaReport report;
};

// The elevation's components from the target: deterministic amplitudes with
// random phases, or random complex amplitudes, drawn in order of frequency.
std::vector<std::complex<double>> elevationComponents(const TargetSpectrum& target,
                                                      SeaMethod method, uint64_t seed);

// The elevation's components `p` asks for on `target`'s frequencies: a
// focused group's, or a random sea's (elevationComponents).
std::vector<std::complex<double>> wantedElevation(const SeaParameters& p,
                                                  const TargetSpectrum& target);

// The paddle's H/S at each generated frequency of `target`.
std::vector<double> binTransfer(const TargetSpectrum& target, const Paddle& paddle, double depth);

// The target and the drive's components of `p`, not yet rendered (a regular
// sea has neither). False with `*error` set when the band holds nothing.
bool prepareSea(const SeaParameters& p, SeaDrive& out, std::string* error);

// Synthesises the sea of `p` (which validateSeaParameters accepts). False
// with `*error` set when the band holds nothing, the memory is not there, a
// sample is not finite, or the drive exceeds a limit of `p` (then `out`
// holds it all the same, and the error says by how much).
bool synthesiseSea(const SeaParameters& p, SeaDrive& out, std::string* error);

// Renders drive.components (on drive.target's frequencies) into the three
// signals with the ramps of `p`, and fills the report's extremes. False
// when the memory is not there or a sample is not a finite number.
bool renderSeaDrive(const SeaParameters& p, SeaDrive& drive, std::string* error);

// Empty, or the limit of `p` the report's drive exceeds and by how much.
std::string driveLimitError(const SeaParameters& p, const SeaReport& report);

// The drive as a two-channel measurement: "Paddle displacement" in m and
// "Paddle velocity" in m/s, dated 0 so that the same seed writes the same
// bytes; with `withElevation`, a third channel "Target elevation" in m for
// showing the drive beside the sea it makes (an .M11 keeps channel 0 only).
// False when the memory is not there.
bool seaDriveMeasure(const SeaDrive& drive, CMeasure& out, bool withElevation = false);

// What a drive of this report is called: "Irregular sea drive", "Regular
// sea drive", "Bichromatic wave drive" or "Solitary wave drive".
const char* seaDriveTitle(const SeaReport& report);

// The drive's target elevation alone, one channel "Target elevation" in m at
// the drive's rate, named and dated like the drive. False when the memory
// is not there.
bool seaElevationMeasure(const SeaDrive& drive, CMeasure& out);
