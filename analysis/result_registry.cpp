#include "analysis/result_registry.h"

#include <algorithm>
#include <vector>

#include "analysis/calculation.h"
#include "measure/owned_measure.h"

namespace {

struct OpenResult {
    CCalculation* result;
    std::function<void()> onSourceClosed;
};

std::vector<OpenResult>& openResults() {
    static std::vector<OpenResult> results;
    return results;
}

auto findResult(const CMeasure* measure) {
    auto& results = openResults();
    return std::find_if(results.begin(), results.end(),
                        [&](const OpenResult& r) { return r.result == measure; });
}

// A measurement released by its window: the results computed from it are cut
// loose, and a result being released leaves the registry.
void releaseResultsOf(CMeasure* measure) {
    closeResultsOf(measure);
    if (auto* result = dynamic_cast<CCalculation*>(measure)) unregisterResult(result);
}

} // namespace

void registerResult(CCalculation* result, std::function<void()> onSourceClosed) {
    if (!result) return;
    // Only measurements with results registered need anything done on release.
    setMeasureReleaseHook(&releaseResultsOf);
    auto it = findResult(result);
    if (it != openResults().end())
        it->onSourceClosed = std::move(onSourceClosed);
    else
        openResults().push_back({result, std::move(onSourceClosed)});
}

void unregisterResult(CCalculation* result) {
    auto it = findResult(result);
    if (it != openResults().end()) openResults().erase(it);
}

bool isRegisteredResult(const CMeasure* measure) {
    return findResult(measure) != openResults().end();
}

void closeResultsOf(const CMeasure* source) {
    if (!source) return;
    // A callback may open or close windows; work on a copy of the list.
    std::vector<OpenResult> results = openResults();
    for (const OpenResult& open : results) {
        if (open.result->source != source || !isRegisteredResult(open.result)) continue;
        open.result->CloseSource();
        if (open.onSourceClosed) open.onSourceClosed();
    }
}
