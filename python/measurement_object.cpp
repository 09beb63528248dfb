#include "python/measurement_object.h"

#include <pybind11/stl.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <optional>

#include "measure/fenced_read.h"
#include "measure/measure_file.h"
#include "measure/save_target.h"
#include "python/keyword_value.h"
#include "python/name_text.h"

namespace {

py::object resultType(const char* name) {
    return py::module_::import("ondarix._results").attr(name);
}

py::object channelObject(const ChannelInfo& info) {
    return resultType("Channel")(nameText(info.name, sizeof info.name),
                                 nameText(info.unit, sizeof info.unit), info.coefficient,
                                 info.constant);
}

// The DOS date-time of the header; None when the file carries none (or one
// that names no real day).
py::object dateObject(uint32_t date) {
    if (date == 0) return py::none();
    try {
        return py::module_::import("datetime")
            .attr("datetime")(int(date >> 25) + 1980, int(date >> 21 & 0xF), int(date >> 16 & 0x1F),
                              int(date >> 11 & 0x1F), int(date >> 5 & 0x3F), int(date & 0x1F) * 2);
    } catch (py::error_already_set&) {
        return py::none();
    }
}

void checkRate(double rate) {
    if (!std::isfinite(rate) || rate <= 0.0)
        throw py::value_error("the sample rate must be a positive number of samples per second");
}

// Channel i of `object`: a Channel, or a (name, unit[, coefficient, constant]) tuple.
void describeChannel(ChannelInfo& info, py::handle object) {
    std::string name, unit;
    double coefficient = 1.0, constant = 0.0;
    if (py::hasattr(object, "name") && py::hasattr(object, "unit")) {
        name = nameBytes(object.attr("name"), "a channel name");
        unit = nameBytes(object.attr("unit"), "a channel unit");
        coefficient = object.attr("coefficient").cast<double>();
        constant = object.attr("constant").cast<double>();
    } else {
        auto fields = object.cast<py::sequence>();
        if (fields.size() < 2 || fields.size() > 4)
            throw py::value_error("a channel is (name, unit[, coefficient, constant])");
        name = nameBytes(fields[0], "a channel name");
        unit = nameBytes(fields[1], "a channel unit");
        if (fields.size() > 2) coefficient = fields[2].cast<double>();
        if (fields.size() > 3) constant = fields[3].cast<double>();
    }
    setChannelInfo(info, coefficient, constant, unit.c_str(), name.c_str());
}

MeasurementObject newMeasurement(const py::array& samples, double rate, const py::object& name,
                                 const py::object& channels) {
    auto core = measureFromArray(samples, rate);
    copyField(core->name, sizeof core->name, nameBytes(name, "the name").c_str());
    if (!channels.is_none()) {
        auto list = channels.cast<py::sequence>();
        if (int(list.size()) != core->channelCount)
            throw py::value_error("the samples have " + std::to_string(core->channelCount) +
                                  " channels but " + std::to_string(list.size()) +
                                  " are described");
        for (int c = 0; c < core->channelCount; ++c)
            describeChannel(core->channels[c], list[c]);
    }
    return MeasurementObject{std::move(core)};
}

// The system takes a path up to its first NUL; a path holding one would open
// another file than the one named.
void refuseNulInPath(const std::string& path) {
    if (path.find('\0') != std::string::npos)
        throw py::value_error("the path holds a NUL character");
}

// An OSError whose text starts with a path's bytes.
[[noreturn]] void throwFileError(const std::string& text) {
    PyErr_SetObject(PyExc_OSError, pathText(text).ptr());
    throw py::error_already_set();
}

bool fileTypeArgument(const py::object& type, const std::string& path, FileType& fileType) {
    fileType = fileTypeFromPath(path);
    if (type.is_none()) return true;
    return fileTypeFromName(py::str(type), fileType);
}

// A Python warning naming what a read left out; an error when the warning
// filters turn it into one. The text may carry a path's bytes.
void warnAbout(const std::string& text) {
    py::module_::import("warnings").attr("warn")(pathText(text), py::handle(PyExc_UserWarning), 2);
}

// h5py calls the same HDF5 library guarded only by the GIL, so an HDF5 file
// is read and written without letting the GIL go (a read forks its child
// with it held, so that no h5py call is half done in the child).
bool holdsGilFor(FileType type) {
    return type == FileType::Hdf5 || type == FileType::Mat; // 7.3 files are HDF5
}

// The keyword that would have let a refused read go on, as the refusal names it.
const char* neededKeyword(const ReadReport& report) {
    if (report.rateNeeded) return " (rate=)";
    if (report.variableNeeded) return " (variable=)";
    if (report.datasetNeeded) return " (dataset=)";
    return "";
}

py::object readMeasurement(const py::object& pathArgument, const py::object& type, bool partial,
                           const py::object& rate, const py::object& variable,
                           const py::object& dataset) {
    const std::string path = pathBytes(pathArgument);
    refuseNulInPath(path);
    FileType fileType;
    if (!fileTypeArgument(type, path, fileType))
        throw py::value_error("unknown type '" + std::string(py::str(type)) + "' (" +
                              fileTypeNameList(false) + ")");
    auto core = std::make_unique<CMeasure>();
    std::string why;
    ReadOptions options{partial};
    if (!rate.is_none()) {
        // For a file that does not say its rate, or over a CSV's time column.
        options.rate = keywordNumber(rate, "rate");
        if (!(options.rate > 0) || !std::isfinite(options.rate))
            throw py::value_error("rate must be a positive number");
    }
    if (!variable.is_none()) {
        // Only for a MATLAB file that holds several numeric variables.
        options.variable = keywordText(variable, "variable");
        if (options.variable.empty()) throw py::value_error("variable must name a variable");
    }
    // The dataset of an HDF5 file that is not in Ondarix's own layout.
    if (!dataset.is_none()) options.dataset = keywordText(dataset, "dataset");
    ReadReport report;
    bool ok;
    {
        std::optional<py::gil_scoped_release> released;
        if (!holdsGilFor(fileType)) released.emplace();
        // A read in a child process stops at Ctrl+C (the GIL is held there).
        const ReadCancelCheck interrupted = [] { return PyErr_CheckSignals() != 0; };
        const ReadCancelCheck before =
            setReadCancelCheck(holdsGilFor(fileType) ? interrupted : nullptr);
        ok = readMeasure(*core, path, fileType, &why, nullptr, options, &report);
        setReadCancelCheck(before);
    }
    // The KeyboardInterrupt that stopped it, not an OSError.
    if (PyErr_Occurred()) throw py::error_already_set();
    if (!ok) throwFileError(readFailureText(path, fileType, why) + neededKeyword(report));
    py::object measurement = wrapMeasure(std::move(core));
    // What the file held beyond the measurement is never passed over in silence.
    if (report.isPartial()) warnAbout(partialReadText(path, report));
    if (report.bytesIgnored > 0) warnAbout(ignoredBytesText(path, report));
    if (report.timeColumnIgnored) warnAbout(ignoredTimeText(path, options.rate));
    return measurement;
}

void writeMeasurement(MeasurementObject& object, const py::object& pathArgument,
                      const py::object& type) {
    const std::string path = pathBytes(pathArgument);
    refuseNulInPath(path);
    FileType fileType;
    if (!fileTypeArgument(type, path, fileType))
        throw py::value_error("unknown type '" + std::string(py::str(type)) + "'");
    const FileTypeRow& row = fileTypeRow(fileType);
    if (!row.write) throw py::value_error(cannotWriteText(row));
    std::string why;
    bool ok;
    {
        std::optional<py::gil_scoped_release> released;
        if (!holdsGilFor(fileType)) released.emplace();
        ok = writeMeasure(*object.core, path, fileType, &why);
    }
    if (!ok) throwFileError(why);
}

} // namespace

CMeasure& coreOf(MeasurementObject& object) {
    return *object.core;
}

py::object wrapMeasure(std::unique_ptr<CMeasure> core) {
    return py::cast(MeasurementObject{std::move(core)});
}

py::array samplesView(py::object self, bool realParts) {
    CMeasure& m = *self.cast<MeasurementObject&>().core;
    const py::ssize_t rows = m.sampleCount, columns = m.channelCount;
    const py::ssize_t rowBytes = columns * py::ssize_t(sizeof(Sample));
    const bool realRecord = m.layout() == SampleLayout::RealColumns;
    if (!m.hasSamples() || rows == 0 || columns == 0) {
        if (realParts || realRecord) return py::array_t<float>({rows, columns});
        return py::array_t<std::complex<float>>({rows, columns});
    }
    // A real record's columns: rows x channels in Fortran order.
    if (realRecord)
        return py::array_t<float>(
            {rows, columns},
            {py::ssize_t(sizeof(float)), py::ssize_t(m.columnRows() * py::ssize_t(sizeof(float)))},
            m.column(0), self);
    if (realParts)
        return py::array_t<float>({rows, columns}, {rowBytes, py::ssize_t(sizeof(Sample))},
                                  &m.pairRows()->re, self);
    return py::array_t<std::complex<float>>(
        {rows, columns}, {rowBytes, py::ssize_t(sizeof(Sample))},
        reinterpret_cast<std::complex<float>*>(m.pairRows()), self);
}

std::unique_ptr<CMeasure> arrayShape(const py::array& data, double rate) {
    checkRate(rate);
    if (data.ndim() != 1 && data.ndim() != 2)
        throw py::value_error("samples must be an array of N rows (N, or N x channels)");
    const int64_t rows = data.shape(0);
    const int64_t columns = data.ndim() == 2 ? data.shape(1) : 1;
    if (columns < 1 || columns > MAX_CHANNELS)
        throw py::value_error("a measurement has 1 to " + std::to_string(MAX_CHANNELS) +
                              " channels");
    if (rows > INT32_MAX) throw py::value_error("too many rows for one measurement");
    auto core = std::make_unique<CMeasure>();
    core->channelCount = int32_t(columns);
    core->sampleCount = int32_t(rows);
    core->sampleRate = rate;
    describePlainChannels(*core);
    core->sampleFormat = data.dtype().kind() == 'c' ? SAMPLE_FORMAT_COMPLEX : SAMPLE_FORMAT_REAL;
    return core;
}

std::unique_ptr<CMeasure> measureFromArray(const py::array& data, double rate) {
    auto core = arrayShape(data, rate);
    const bool complex = core->sampleFormat == SAMPLE_FORMAT_COMPLEX;
    const int64_t rows = core->sampleCount, columns = core->channelCount;
    std::string refusal;
    if (!core->allocateSamples(&refusal)) throw py::value_error(refusal);
    if (rows * columns == 0) return core;
    if (complex) {
        constexpr int flags = py::array::c_style | py::array::forcecast;
        auto values = py::array_t<std::complex<float>, flags>(data);
        std::memcpy(core->pairRows(), values.data(), size_t(rows * columns) * sizeof(Sample));
        return core;
    }
    // Converted to single precision only where the type differs; read in
    // place along its own strides into the columns.
    auto values = py::array_t<float, py::array::forcecast>(data);
    const auto* base = reinterpret_cast<const char*>(values.data());
    const py::ssize_t rowStep = values.strides(0);
    const py::ssize_t columnStep = values.ndim() == 2 ? values.strides(1) : 0;
    for (int c = 0; c < columns; ++c) {
        float* out = core->column(c);
        const char* in = base + c * columnStep;
        if (rowStep == py::ssize_t(sizeof(float))) {
            std::memcpy(out, in, size_t(rows) * sizeof(float));
            continue;
        }
        for (int64_t r = 0; r < rows; ++r)
            std::memcpy(out + r, in + r * rowStep, sizeof(float));
    }
    return core;
}

void bindMeasurement(py::module_& m) {
    py::class_<MeasurementObject>(m, "Measurement", R"(A multi-channel measurement.

Measurement(samples, rate, name="Pomiar", channels=None) copies `samples`
(N values of one channel, or N x C; real or complex) into a new measurement of
`rate` samples per second. `channels`, when given, describes every channel as
a Channel or a (name, unit[, coefficient, constant]) tuple; otherwise channel
i is "Channel i" in "?".

`samples` and `real` share the measurement's own block: writing to them
changes what the analyses see, and the arrays keep the measurement alive.)")
        .def(py::init(&newMeasurement), py::arg("samples"), py::arg("rate"),
             py::arg("name") = "Pomiar", py::arg("channels") = py::none())
        .def_property_readonly(
            "samples", [](py::object self) { return samplesView(self, false); },
            "N x C array sharing the measurement's block (no copy): float32 for a real "
            "record, one column per channel, complex64 for a complex one.")
        .def_property_readonly(
            "real", [](py::object self) { return samplesView(self, true); },
            "N x C float32 view of the real parts of the block (no copy); for a real record "
            "the same array as samples.")
        .def_property(
            "rate", [](const MeasurementObject& o) { return o.core->sampleRate; },
            [](MeasurementObject& o, double rate) {
                checkRate(rate);
                o.core->sampleRate = rate;
            },
            "Samples per second.")
        .def_property(
            "name",
            [](const MeasurementObject& o) { return nameText(o.core->name, sizeof o.core->name); },
            [](MeasurementObject& o, const py::object& name) {
                copyField(o.core->name, sizeof o.core->name, nameBytes(name, "the name").c_str());
            },
            "The measurement's name, kept in Windows-1250 as measurement files keep it (at "
            "most 63 characters are kept; a character without a Windows-1250 form is refused).")
        .def_property_readonly(
            "date", [](const MeasurementObject& o) { return dateObject(o.core->date); },
            "When the measurement was taken (a naive local datetime), or None.")
        .def_property_readonly(
            "path",
            [](const MeasurementObject& o) {
                return pathText(
                    std::string(o.core->path, strnlen(o.core->path, sizeof o.core->path)));
            },
            "The file it was read from (as os.fsdecode gives it), or empty.")
        .def_property_readonly(
            "channels",
            [](const MeasurementObject& o) {
                py::list list;
                for (int c = 0; c < o.core->channelCount; ++c)
                    list.append(channelObject(o.core->channels[c]));
                return list;
            },
            "A list of Channel(name, unit, coefficient, constant), one per column.")
        .def("__len__", [](const MeasurementObject& o) { return o.core->sampleCount; })
        .def("__repr__", [](const MeasurementObject& o) {
            return "<ondarix.Measurement '" +
                   std::string(nameText(o.core->name, sizeof o.core->name)) +
                   "': " + std::to_string(o.core->sampleCount) + " x " +
                   std::to_string(o.core->channelCount) + " at " +
                   std::to_string(o.core->sampleRate) + " Hz>";
        });

    m.def("read", &readMeasurement, py::arg("path"), py::arg("type") = py::none(),
          py::arg("partial") = false, py::arg("rate") = py::none(),
          py::arg("variable") = py::none(), py::arg("dataset") = py::none(),
          R"(Reads a measurement file.

`path` is a str, bytes or a path-like object. `type` is "int", "m11", "txt",
"wav", "csv", "mat" or "hdf5"; by default the extension decides (an unknown one
reads as .INT). `rate` (samples per second) is for a file that does not give
its own, a CSV without a time column. `variable` names the matrix that holds
the samples in a MATLAB file that holds several; `dataset` names the 1-D or
2-D numeric dataset of an HDF5 file to read instead of /samples. Raises
OSError with the reason when the file
cannot be read, ValueError for an unknown type. A file cut short or damaged
is refused, the reason naming its complete rows; with `partial=True` those
rows are read and a UserWarning says how many of how many. Bytes after the
samples of an .INT are ignored with a UserWarning.)");
    m.def("write", &writeMeasurement, py::arg("measurement"), py::arg("path"),
          py::arg("type") = py::none(),
          R"(Writes a measurement as .INT, .M11, .TXT, .csv, .mat or .h5 (by `type` or
the extension).

A measurement the format cannot carry so that it reads back is refused with
OSError, and nothing is written.)");
}
