// Synthesis of a wave-maker signal into a CGenerator: channel 0 "Generated"
// [cm] holds (signal, quadrature), channel 1 its time derivative [cm/s].
#pragma once

#include <string>

#include "generator/generator.h"
#include "generator/generator_parameters.h"

// Empty when `p` can be synthesised, otherwise a one-line reason (a value out of
// range or not finite, too many samples, an envelope chain that cannot be
// solved). Allocates nothing beyond the chain's few small matrices. A signal
// whose values overflow single precision (finite but huge coefficients) shows
// only in the synthesis, which then fails.
std::string checkGeneratorParameters(const GeneratorParameters& p);

// Lays out `generator` and fills both channels from its own parameters,
// replacing any previous layout and samples, and stores the wave period in
// `generator.parameters.period`. Model 4 draws new noise at every call.
// Returns false when the parameters are rejected or memory runs out: `*error`
// then holds the reason, the generator keeps its two described channels but no
// samples (sample count 0), and `period` holds T when it could be computed and
// 0 otherwise.
bool GeneratorSynthesis(CGenerator& generator, std::string* error = nullptr);

// The same with model 4's noise started from `seed`, for reproducible runs.
bool GeneratorSynthesisSeeded(CGenerator& generator, unsigned seed, std::string* error = nullptr);
