#include "python/calibrate_function.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "measure/gauge_calibration.h"
#include "measure/int_channel_scale.h"
#include "measure/measure_file.h"
#include "python/block_check.h"
#include "python/measurement_object.h"

namespace py = pybind11;

namespace {

// `path` is the file the measurement was read from, or empty: the counts of
// an .INT file of integer samples are its raw values, as for ondarix-batch.
py::object calibrate(MeasurementObject& object, int channel, const std::vector<double>& levels,
                     const std::vector<double>& windows, bool force, const std::string& path,
                     const std::string& apply, int toChannel) {
    CMeasure& m = coreOf(object);
    checkFinite(m, checkedBlock(m, channel, 0, m.sampleCount));
    std::vector<double> raw;
    std::string why;
    // An array or a Measurement not read from a file: its values as they are.
    const FileType type = path.empty() ? FileType::Text : fileTypeFromPath(path);
    if (!rawChannelValues(m, channel, path, type, raw, &why)) throw py::value_error(why);
    if (!apply.empty() && !calibrationTargetRefusal(apply).empty())
        throw py::value_error(calibrationTargetRefusal(apply));
    CalibrationOptions options;
    options.levels = levels;
    options.windows = windows;
    options.force = force;
    GaugeCalibration c;
    if (!calibrateGauge(raw, m.sampleRate, options, c, &why)) throw py::value_error(why);
    // -1: the record's own channel number.
    const int target = toChannel >= 0 ? toChannel : channel;
    if (!apply.empty() && !writeIntChannelScale(apply, target, c.coefficient, c.constant, &why)) {
        PyErr_SetString(PyExc_OSError, why.c_str());
        throw py::error_already_set();
    }
    std::vector<double> from, to, means;
    for (const SteadyStretch& s : c.stretches) {
        from.push_back(s.from / m.sampleRate);
        to.push_back(s.to / m.sampleRate);
        means.push_back(s.mean);
    }
    py::dict columns;
    columns["level"] = py::array_t<double>(py::ssize_t(levels.size()), levels.data());
    columns["start"] = py::array_t<double>(py::ssize_t(from.size()), from.data());
    columns["stop"] = py::array_t<double>(py::ssize_t(to.size()), to.data());
    columns["raw"] = py::array_t<double>(py::ssize_t(means.size()), means.data());
    columns["residual"] = py::array_t<double>(py::ssize_t(means.size()), c.residuals.data());
    py::object stretches = py::module_::import("pandas").attr("DataFrame")(columns);
    return py::module_::import("ondarix._results")
        .attr("GaugeCalibration")(c.coefficient, c.constant, c.r2, c.largestResidual, stretches);
}

} // namespace

void bindCalibrate(py::module_& m) {
    m.def("_calibrate", &calibrate, py::arg("measurement"), py::arg("channel"), py::arg("levels"),
          py::kw_only(), py::arg("windows"), py::arg("force"), py::arg("path"), py::arg("apply"),
          py::arg("to_channel"));
}
