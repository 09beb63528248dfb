// The irregular sea of the Python module.
#pragma once

#include <pybind11/pybind11.h>

void bindSea(pybind11::module_& m);
