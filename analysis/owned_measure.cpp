#include "analysis/owned_measure.h"

#include "analysis/calculation.h"
#include "analysis/result_registry.h"

void MeasureRelease::operator()(CMeasure* measure) const {
    if (!measure) return;
    closeResultsOf(measure);
    if (auto* result = dynamic_cast<CCalculation*>(measure)) unregisterResult(result);
    delete measure;
}
