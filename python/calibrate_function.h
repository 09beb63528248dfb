// ondarix.calibrate: a gauge's coefficient and constant, as ondarix-batch
// calibrate finds them (its Python face is in ondarix/analyses.py).
#pragma once

#include <pybind11/pybind11.h>

void bindCalibrate(pybind11::module_& m);
