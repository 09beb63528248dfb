// Component lists between Python (a list of dicts) and a channel's
// SignalParameters.
#pragma once

#include <pybind11/pybind11.h>

#include "measure/measure.h"

namespace py = pybind11;

// Replaces `params` by the components of `list` (dicts with "frequency" and
// optionally "name", "amplitude", "k", "a", "d", "eta"; a missing value takes
// the default of a fresh list) and sets the level. Throws ValueError.
void setComponents(SignalParameters& params, const py::list& list, double level);

// The components of `params` as a list of dicts with every field.
py::list componentDicts(const SignalParameters& params);
