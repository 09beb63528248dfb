// The fitted model of an approximation in per-sample units: a level plus K
// damped sinusoids, and the one pass over the samples that writes the result
// rows.
#pragma once

#include <cstdint>

#include "aprox/aprox_params.h"

// Component k at sample n is e^(-delta_k n) (a_k cos theta_k n + d_k sin theta_k n).
// The carrier of a component advances by the factor q_k per sample, so no
// pass calls a trigonometric or exponential function.
struct AproxModel {
    int32_t count = 0;
    double a[MAX_COMPONENTS] = {};
    double d[MAX_COMPONENTS] = {};
    double theta[MAX_COMPONENTS] = {}; // phase advance per sample
    double delta[MAX_COMPONENTS] = {}; // decay per sample
    double level = 0.0;
    double q_re[MAX_COMPONENTS] = {};
    double q_im[MAX_COMPONENTS] = {};
};

// q_k = e^(-delta_k) (cos theta_k + i sin theta_k) for every component.
void updateFactors(AproxModel& m);

// The model as the record starts it: theta from `frequency`, delta from `eta`
// only when damping is in use, amplitudes and level as given. Factors updated.
AproxModel modelFromParams(const AproxParams& p);

// Every number of the model is finite.
bool modelFinite(const AproxModel& m);

// Amplitudes and level into the record.
void storeAmplitudes(const AproxModel& m, AproxParams& p);
// Everything into the record: amplitudes, level, frequencies, and the dampings
// when damping is in use.
void storeModel(const AproxModel& m, AproxParams& p);

// y(n): the real part of the analysed source sample at range position n.
inline double sourceValue(const AproxParams& p, int32_t n) {
    return p.source[int64_t(p.first) + n];
}

// Writes every result row (value and quadrature of each component, then the
// rest y - model) with `done` counting the rows from 0, and returns the sum of
// the squared rests, taken before they are rounded to floats.
double outputPass(AproxParams& p, const AproxModel& m);
