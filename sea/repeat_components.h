// The generated components of a sea as a record over whole repeat periods
// holds them, and the noise floor between them.
#pragma once

#include <string>
#include <vector>

#include "sea/repeat_window.h"
#include "sea/target_spectrum.h"

struct RepeatComponents {
    // |X|^2 of the half amplitudes (a component is 2 Re(X e^(2 pi i f t)))
    // at the target's bins firstBin .. lastBin.
    std::vector<double> power;
    // The mean |X|^2 of a bin that holds no generated component.
    double noise = 0;
};

// The components of `values` inside window `w`, whose periods are those of
// `target`'s frequencies. False with `*error` set for an empty window, one
// that does not reach the target's highest frequency, or no memory.
bool repeatComponents(const std::vector<double>& values, const RepeatWindow& w,
                      const TargetSpectrum& target, RepeatComponents& out, std::string* error);

// |X|^2 of the components of one period of a drive signal (as played, ramps
// and all) at the target's bins.
bool periodPower(const std::vector<double>& period, const TargetSpectrum& target,
                 std::vector<double>& power, std::string* error);
