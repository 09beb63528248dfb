// A channel's component list as the "Copy all" text of the signal-parameters
// dialog, and that text read back (ondarix-batch takes component lists in it).
#pragma once

#include <string>

#include "measure/measure.h"

// First line "%d\t%d\t%d\t%d": channel, from, to and the component count; then
// one "%6.4f" line per component with frequency, amplitude, k, a, d and eta,
// tab-separated. Lines end in CR LF. Needs the "C" numeric locale.
std::string componentListText(const BlockRange& range, const SignalParameters& params);

// Reads such a text back. Lines may end in CR LF or LF, numbers may be
// separated by any blanks, and blank lines after the last component are
// ignored. The text carries no names: component i is named "Component no i+1",
// and `params` keeps nothing of its previous contents (level 0, as reset).
// Returns false with `*error` naming the line and the fault; `range` and
// `params` are then unchanged.
bool parseComponentList(const std::string& text, BlockRange& range, SignalParameters& params,
                        std::string* error = nullptr);
