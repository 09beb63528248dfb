// The Python Measurement: owns one core measurement (a file read, an array
// given, or an analysis result) and lends its sample block to numpy.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <memory>
#include <string>

#include "measure/measure.h"

namespace py = pybind11;

struct MeasurementObject {
    std::unique_ptr<CMeasure> core;
};

// The sample block as an N x C numpy array that shares the block and keeps
// `self` alive: complex64, or float32 views of the real parts.
py::array samplesView(py::object self, bool realParts);

// A new measurement holding a copy of `data` (N, or N x C; real or complex).
std::unique_ptr<CMeasure> measureFromArray(const py::array& data, double rate);
// The measurement measureFromArray would make, refused as it would be, with
// its channels, rows and rate but no samples.
std::unique_ptr<CMeasure> arrayShape(const py::array& data, double rate);

// The "a measurement, or an array and its rate" argument of every analysis.
CMeasure& coreOf(MeasurementObject& object);

// Wraps a core measurement (a result) in a new Python Measurement.
py::object wrapMeasure(std::unique_ptr<CMeasure> core);

void bindMeasurement(py::module_& m);
