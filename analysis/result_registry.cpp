#include "analysis/result_registry.h"

#include <algorithm>
#include <vector>

#include "analysis/calculation.h"

namespace {
std::vector<CCalculation*>& openResults() {
    static std::vector<CCalculation*> results;
    return results;
}
} // namespace

void registerResult(CCalculation* result) {
    auto& results = openResults();
    if (result && std::find(results.begin(), results.end(), result) == results.end())
        results.push_back(result);
}

void unregisterResult(CCalculation* result) {
    auto& results = openResults();
    results.erase(std::remove(results.begin(), results.end(), result), results.end());
}

bool isRegisteredResult(const CMeasure* measure) {
    const auto& results = openResults();
    return std::any_of(results.begin(), results.end(),
                       [&](const CCalculation* r) { return r == measure; });
}

void closeResultsOf(const CMeasure* source) {
    if (!source) return;
    for (CCalculation* result : openResults())
        if (result->source == source) result->CloseSource();
}
