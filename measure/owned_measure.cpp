#include "measure/owned_measure.h"

#include "measure/measure.h"

namespace {

MeasureReleaseHook releaseHook = nullptr;

} // namespace

void setMeasureReleaseHook(MeasureReleaseHook hook) {
    releaseHook = hook;
}

void MeasureRelease::operator()(CMeasure* measure) const {
    if (!measure) return;
    if (releaseHook) releaseHook(measure);
    delete measure;
}
