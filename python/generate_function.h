// The generator of the Python module.
#pragma once

#include <pybind11/pybind11.h>

void bindGenerate(pybind11::module_& m);
