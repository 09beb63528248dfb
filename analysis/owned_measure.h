// A measurement owned by the window that shows it. Releasing it first cuts
// loose every analysis result computed from it (worker stopped, source
// forgotten), so no result can keep reading a measurement that is gone,
// whatever order windows close in.
#pragma once

#include <memory>

class CMeasure;

struct MeasureRelease {
    void operator()(CMeasure* measure) const;
};

using OwnedMeasure = std::unique_ptr<CMeasure, MeasureRelease>;
