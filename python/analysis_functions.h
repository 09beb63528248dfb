// The analyses of the Python module (their Python faces are in ondarix/analyses.py).
#pragma once

#include <pybind11/pybind11.h>

void bindAnalyses(pybind11::module_& m);
