#include "generator/generator.h"

CGenerator::CGenerator(const GeneratorParameters& parameters) : parameters(parameters) {
    // Set once here, not per synthesis, so that component lists the user gives
    // the generated channels survive a recalculation.
    for (int c = 0; c < MAX_CHANNELS; ++c)
        resetParameters(signalParameters[c]);
}
