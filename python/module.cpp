// The extension module behind the Python package ondarix.
#include <pybind11/pybind11.h>

#include "python/analysis_functions.h"
#include "python/calibrate_function.h"
#include "python/generate_function.h"
#include "python/measurement_object.h"
#include "python/sea_function.h"
#include "python/wave_functions.h"

PYBIND11_MODULE(_ondarix, m) {
    m.doc() = "The Ondarix measurement and analysis core (use the package ondarix).";
    bindMeasurement(m);
    bindAnalyses(m);
    bindGenerate(m);
    bindWaveAnalyses(m);
    bindSea(m);
    bindCalibrate(m);
}
