// A generated wave-maker signal: a measurement that keeps the parameters it
// was (and will again be) synthesised from.
#pragma once

#include "generator/generator_parameters.h"
#include "measure/measure.h"

class CGenerator : public CMeasure {
  public:
    // Starts empty (no channels, no samples) with a copy of `parameters`.
    explicit CGenerator(const GeneratorParameters& parameters);

    // This generator's own copy; GeneratorSynthesis reads it and writes its
    // `period`.
    GeneratorParameters parameters;
};
