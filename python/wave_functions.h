// The wave analyses of the Python module (their Python faces are in
// ondarix/analyses.py).
#pragma once

#include <pybind11/pybind11.h>

void bindWaveAnalyses(pybind11::module_& m);
