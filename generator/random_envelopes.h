// Model 4: random envelopes. The quadrature envelope rises to sqrt(pi/2), the
// mean of a Rayleigh amplitude of unit quadrature variance; in the steady phase
// both envelopes are driven by noise so that each follows the chain's
// stationary law with unit output variance; the decay lets the last random
// state die away without noise.
#pragma once

#include "generator/envelope_chain.h"
#include "generator/envelopes.h"
#include "generator/generator_layout.h"
#include "numeric/noise.h"

// sqrt(pi/2)
constexpr double RAYLEIGH_MEAN = 1.2533141373155003;

// The noise factor L of one time step, L L^T = S - o S o^T with S the
// chain's stationary covariance of unit output variance (mat_binomial_prob).
// Writes n*n doubles into `factor`; false when memory runs out.
bool randomNoiseFactor(const EnvelopeChain& chain, double* factor);

// Fills `envelopes` (layout.sampleCount entries) drawing the deviates from
// `source`. False when memory runs out.
bool fillRandomEnvelopes(const EnvelopeChain& chain, const GeneratorLayout& layout,
                         NoiseSource& source, Envelopes& envelopes);
