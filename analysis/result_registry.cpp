#include "analysis/result_registry.h"

#include <algorithm>
#include <vector>

#include "analysis/calculation.h"

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

} // namespace

void registerResult(CCalculation* result, std::function<void()> onSourceClosed) {
    if (!result) return;
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
