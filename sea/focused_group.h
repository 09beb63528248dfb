// A focused wave group (NewWave, Tromans, Jonathan & Taylor 1991): every
// component's amplitude in proportion to S(f) df, and phases that bring all
// their crests together at one time and one distance down the flume.
#pragma once

#include <complex>
#include <vector>

#include "sea/target_spectrum.h"

// The crest of the group when none is asked for: the most probable largest
// crest of 1000 waves of the target, sqrt(2 m0 ln 1000).
double defaultFocusCrest(const TargetSpectrum& target);

// The elevation's half amplitudes at the paddle (a component is
// 2 Re(e exp(i w t))) whose crests meet at `time` s and `distance` m from
// the paddle, in `depth` m of water, with a linear crest of `crest` m
// there: a_k = crest S_k / sum S, phase w_k (t - time) + k_k distance.
std::vector<std::complex<double>> focusedComponents(const TargetSpectrum& target, double crest,
                                                    double time, double distance, double depth);
