// statistics, fourier, kalman and aprox on a block of a Python Measurement,
// with the refusals and texts of their ondarix-batch commands.
#include <pybind11/stl.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "analysis/fourier.h"
#include "aprox/aprox.h"
#include "aprox/aprox_copy_text.h"
#include "kalman/kalman.h"
#include "kalman/kalman_copy_text.h"
#include "measure/statistics.h"
#include "measure/statistics_report.h"
#include "python/analysis_functions.h"
#include "python/block_check.h"
#include "python/block_source.h"
#include "python/component_list.h"
#include "python/measurement_object.h"
#include "python/name_text.h"
#include "python/worker_wait.h"
#include "waves/spectrum_starts.h"

namespace {

py::object resultType(const char* name) {
    return py::module_::import("ondarix._results").attr(name);
}

py::object optional(const std::optional<double>& value) {
    return value ? py::cast(*value) : py::none();
}

py::object statistics(MeasurementObject& object, int channel, int from, int to) {
    CMeasure& m = coreOf(object);
    BlockRange range = checkedBlock(m, channel, from, to);
    SignalStatistics stats{};
    if (!prepareStatistics(stats, m, range))
        throw py::value_error("the block is empty; no statistics");
    checkFinite(m, range);
    {
        py::gil_scoped_release released;
        computeStatistics(stats, STAT_ALL);
    }
    StatisticsReport r = statisticsReport(stats, range);
    return resultType("Statistics")(
        r.from, r.to, optional(r.minimum), optional(r.maximum), optional(r.mean),
        optional(r.deviation), r.heightCount, optional(r.heightMin), optional(r.heightMax),
        optional(r.heightMean), r.periodCount, optional(r.periodMin), optional(r.periodMax),
        optional(r.periodMean), optional(r.frequencyMin), optional(r.frequencyMax),
        optional(r.frequencyMean));
}

// A finished result no longer needs its source; it becomes a measurement of
// its own.
py::object detachedResult(std::unique_ptr<CCalculation> result) {
    result->CloseSource();
    return wrapMeasure(std::move(result));
}

py::object fourier(const py::object& data, std::optional<double> rate, int channel, int from,
                   std::optional<int> to, bool inverse, bool onesided) {
    BlockSource source(data, rate);
    BlockRange range = checkedBlock(source.measure(), channel, from, source.stop(to));
    if (range.from == range.to) throw py::value_error("the range is empty");
    BlockSource::OwnBlock own = source.ownBlock(channel, from, range.to, inverse);
    if (own) range = BlockRange{0, 0, own->sampleCount};
    CMeasure& m = own ? *own : source.measure();
    RangeCheck check = checkRange(&m, range);
    if (check != RangeCheck::Ok) throw py::value_error(rangeCheckText(check));
    if (!own) checkFinite(m, range, inverse);
    FourierOptions options;
    options.inverse = inverse ? 1 : 0;
    auto result = std::make_unique<CFft>(&m, range, options);
    result->onesided = onesided;
    if (!runWorker(*result))
        throw std::runtime_error("the transform could not be started (out of memory?)");
    return detachedResult(std::move(result));
}

int32_t wholeOption(const char* name, int32_t value, int32_t lo, int32_t hi) {
    if (value < lo || value > hi)
        throw py::value_error(std::string(name) + " takes " + std::to_string(lo) + " to " +
                              std::to_string(hi));
    return value;
}

double numberOption(const char* name, double value) {
    if (!std::isfinite(value) || value < 0.0)
        throw py::value_error(std::string(name) + " takes a number of at least 0");
    return value;
}

// The run's own copy of the given list: the measurement may be shared with
// other threads while the worker runs without the GIL, so it is only read.
SignalParameters givenList(const py::list& components, double level) {
    SignalParameters list;
    setComponents(list, components, level);
    return list;
}

py::object kalman(MeasurementObject& object, int channel, int from, int to,
                  const py::list& components, int model, double observationError, int estimateError,
                  int useDamp, double constantPeriod, double asymptotic) {
    KalmanOptions o;
    o.model = wholeOption("model", model, 0, 3);
    o.observation_error = numberOption("observation_error", observationError);
    o.estimate_error = wholeOption("estimate_error", estimateError, 0, 1);
    o.use_damp = wholeOption("use_damp", useDamp, 0, 1);
    o.constant_period = numberOption("constant_period", constantPeriod);
    o.asymptotic = numberOption("asymptotic", asymptotic);
    CMeasure& m = coreOf(object);
    BlockRange range = checkedBlock(m, channel, from, to);
    const SignalParameters given = givenList(components, 0.0);
    if (range.from == range.to) throw py::value_error("the range is empty");
    auto result = std::make_unique<CKalman>(&m, range, o);
    result->useOwnComponents(given);
    if (const char* why = result->RunProblem()) throw py::value_error(why);
    checkFinite(m, range);
    if (!runWorker(*result))
        throw std::runtime_error("the filter could not be started (out of memory?)");
    const SignalParameters& list = result->runComponents();
    py::object text = displayStr(kalmanCopyAllText(range, list, result->options));
    py::list updated = componentDicts(list);
    double error = result->options.observation_error;
    return resultType("KalmanResult")(detachedResult(std::move(result)), updated, error, text);
}

// "auto:K": the K start components from the peaks of the block's spectrum.
py::list autoComponents(MeasurementObject& object, int channel, int from, int to,
                        const std::string& text) {
    CMeasure& m = coreOf(object);
    BlockRange range = checkedBlock(m, channel, from, to);
    int count = 0;
    std::string why;
    if (!autoComponentCount(text, count, &why))
        throw py::value_error("components must be a list of dicts, a DataFrame or \"auto:K\"");
    if (count == 0) throw py::value_error(why);
    checkFinite(m, range);
    SignalParameters list;
    if (!spectrumStartComponents(m, range, count, list, &why))
        throw py::value_error("components " + text + ": " + why);
    return componentDicts(list);
}

const char* aproxFailure(AproxStop stop) {
    switch (stop) {
    case AproxStop::LinearFailed:
        return "the components do not determine their amplitudes (two equal frequencies or a "
               "frequency of 0?); nothing was fitted";
    case AproxStop::Invalid:
        return "the fit refused its parameters";
    default:
        return nullptr;
    }
}

const char* stopName(AproxStop stop) {
    switch (stop) {
    case AproxStop::StepLimit:
        return "step limit";
    case AproxStop::RmsRise:
        return "rms rise";
    case AproxStop::MaxSteps:
        return "max steps";
    case AproxStop::Singular:
        return "singular";
    default:
        return "none";
    }
}

int32_t flagOption(const char* name, int value) {
    if (value != 0 && value != 1) throw py::value_error(std::string(name) + " takes 0 or 1");
    return value;
}

py::object aprox(MeasurementObject& object, int channel, int from, int to,
                 const py::list& components, double level, int useAd, int useEta) {
    AproxOptions o;
    o.use_ad = flagOption("use_ad", useAd);
    o.use_eta = flagOption("use_eta", useEta);
    CMeasure& m = coreOf(object);
    BlockRange range = checkedBlock(m, channel, from, to);
    auto result = std::make_unique<CAprox>(&m, range, o);
    result->useOwnComponents(givenList(components, level));
    if (const char* why = result->RunProblem()) throw py::value_error(why);
    checkFinite(m, range);
    if (!runWorker(*result))
        throw std::runtime_error("the approximation could not be started (out of memory?)");
    const AproxParams& p = result->aproxParams();
    if (const char* why = aproxFailure(p.stop)) throw py::value_error(why);
    if (p.stop == AproxStop::Singular) {
        PyErr_WarnEx(PyExc_RuntimeWarning,
                     "Newton's method stopped at a singular system; the values are those of "
                     "the last step that could be taken",
                     1);
    }
    const SignalParameters& list = result->runComponents();
    py::object text = displayStr(aproxCopyText(list));
    py::list updated = componentDicts(list);
    const double fittedLevel = list.level;
    const double rms = p.rms;
    const int steps = p.iteration.load();
    const char* stop = stopName(p.stop);
    return resultType("AproxResult")(detachedResult(std::move(result)), updated, fittedLevel, rms,
                                     steps, stop, text);
}

} // namespace

void bindAnalyses(py::module_& m) {
    const KalmanOptions k;
    const AproxOptions a;
    m.def("_statistics", &statistics, py::arg("measurement"), py::arg("channel"), py::arg("start"),
          py::arg("stop"));
    m.def("_fourier", &fourier, py::arg("data"), py::arg("rate"), py::arg("channel"),
          py::arg("start"), py::arg("stop"), py::arg("inverse") = false,
          py::arg("onesided") = false);
    m.def("_auto_components", &autoComponents, py::arg("measurement"), py::arg("channel"),
          py::arg("start"), py::arg("stop"), py::arg("text"));
    m.def("_kalman", &kalman, py::arg("measurement"), py::arg("channel"), py::arg("start"),
          py::arg("stop"), py::arg("components"), py::kw_only(), py::arg("model") = k.model,
          py::arg("observation_error") = k.observation_error,
          py::arg("estimate_error") = k.estimate_error, py::arg("use_damp") = k.use_damp,
          py::arg("constant_period") = k.constant_period, py::arg("asymptotic") = k.asymptotic);
    m.def("_aprox", &aprox, py::arg("measurement"), py::arg("channel"), py::arg("start"),
          py::arg("stop"), py::arg("components"), py::arg("level"), py::kw_only(),
          py::arg("use_ad") = a.use_ad, py::arg("use_eta") = a.use_eta);
    py::dict kalmanDefaults, aproxDefaults;
    kalmanDefaults["model"] = k.model;
    kalmanDefaults["observation_error"] = k.observation_error;
    kalmanDefaults["estimate_error"] = k.estimate_error;
    kalmanDefaults["use_damp"] = k.use_damp;
    kalmanDefaults["constant_period"] = k.constant_period;
    kalmanDefaults["asymptotic"] = k.asymptotic;
    aproxDefaults["use_ad"] = a.use_ad;
    aproxDefaults["use_eta"] = a.use_eta;
    m.attr("KALMAN_DEFAULTS") = kalmanDefaults;
    m.attr("APROX_DEFAULTS") = aproxDefaults;
}
