// The analysis results that are open on the desktop, so that releasing a
// measurement first cuts every result computed from it loose: the result's
// worker is stopped and its source forgotten before the samples go away.
// Used from the user-interface thread only.
#pragma once

#include <functional>

class CCalculation;
class CMeasure;

// A result window registers its result when it attaches it and unregisters
// it before releasing it. Registering twice keeps one entry. `onSourceClosed`
// runs after the result was cut loose from its source, so that its window can
// say so.
void registerResult(CCalculation* result, std::function<void()> onSourceClosed = {});
void unregisterResult(CCalculation* result);
bool isRegisteredResult(const CMeasure* measure);

// `source` is about to be released: every registered result computed from it
// gets CloseSource (its worker stopped, its source null).
void closeResultsOf(const CMeasure* source);
