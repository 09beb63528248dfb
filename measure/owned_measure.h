// A measurement owned by the window that shows it. Releasing it first runs
// the release hook, through which the analyses cut loose every result computed
// from it (worker stopped, source forgotten), so no result can keep reading a
// measurement that is gone, whatever order windows close in.
#pragma once

#include <memory>

class CMeasure;

struct MeasureRelease {
    void operator()(CMeasure* measure) const;
};

using OwnedMeasure = std::unique_ptr<CMeasure, MeasureRelease>;

// What runs on a measurement just before an OwnedMeasure deletes it; set by
// the layer that keeps results computed from measurements (null: nothing).
// Used from the user-interface thread only.
using MeasureReleaseHook = void (*)(CMeasure* measure);
void setMeasureReleaseHook(MeasureReleaseHook hook);
