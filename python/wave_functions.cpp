// waves, spectrum and reflection on blocks of a Python Measurement, with the
// refusals and texts of their ondarix-batch commands.
#include "python/wave_functions.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "python/block_check.h"
#include "python/block_source.h"
#include "python/measurement_object.h"
#include "waves/gauge_channels.h"
#include "waves/noise_warning.h"
#include "waves/reflection.h"
#include "waves/reflection_series.h"
#include "waves/reflection_table.h"
#include "waves/regular_reflection.h"
#include "waves/spectral_parameters.h"
#include "waves/spectrum_measure.h"
#include "waves/spectrum_report.h"
#include "waves/wave_by_wave.h"

namespace {

py::object resultType(const char* name) {
    return py::module_::import("ondarix._results").attr(name);
}

// A value the data did not allow (NaN) is None, as --json prints null.
py::object finite(double value) {
    return std::isfinite(value) ? py::cast(value) : py::none();
}

Detrend detrendOf(const std::string& name) {
    Detrend d = Detrend::None;
    if (!detrendFromName(name, d))
        throw py::value_error("detrend takes none, mean or linear, not \"" + name + "\"");
    return d;
}

py::array_t<double> column(const std::vector<Wave>& waves, double Wave::*field) {
    py::array_t<double> out(py::ssize_t(waves.size()));
    double* at = out.mutable_data();
    for (const Wave& w : waves)
        *at++ = w.*field;
    return out;
}

// The wave list as ondarix-batch --waves-out writes it, numbered from 1.
py::object waveList(const std::vector<Wave>& waves) {
    py::dict columns;
    columns["start"] = column(waves, &Wave::start);
    columns["period"] = column(waves, &Wave::period);
    columns["height"] = column(waves, &Wave::height);
    columns["crest"] = column(waves, &Wave::crest);
    columns["trough"] = column(waves, &Wave::trough);
    py::object pandas = py::module_::import("pandas");
    py::object index = pandas.attr("RangeIndex")(1, waves.size() + 1, py::arg("name") = "index");
    return pandas.attr("DataFrame")(columns, py::arg("index") = index);
}

// The exceedance plot's points, highest wave first; weibull is NaN without
// a foreshore.
py::object exceedance(const HeightDistribution& d) {
    std::vector<double> h, measured, rayleigh, weibull;
    for (const ExceedancePoint& p : d.points) {
        h.push_back(p.height);
        measured.push_back(p.measured);
        rayleigh.push_back(p.rayleigh);
        weibull.push_back(p.weibull);
    }
    py::dict columns;
    columns["height"] = py::array_t<double>(py::ssize_t(h.size()), h.data());
    columns["measured"] = py::array_t<double>(py::ssize_t(h.size()), measured.data());
    columns["rayleigh"] = py::array_t<double>(py::ssize_t(h.size()), rayleigh.data());
    columns["weibull"] = py::array_t<double>(py::ssize_t(h.size()), weibull.data());
    return py::module_::import("pandas").attr("DataFrame")(columns);
}

// The noise warnings as Python's keywords word them.
py::list warningList(const std::vector<NoiseWarning>& warnings) {
    py::list out;
    for (const NoiseWarning& w : warnings)
        out.append(pythonWarningText(w));
    return out;
}

// Battjes and Groenendijk's prediction, None without a foreshore.
py::object predicted(const HeightDistribution& d) {
    if (!d.shallow) return py::none();
    const ShallowWaterHeights& p = d.predicted;
    py::dict out;
    out["htr"] = p.htr;
    out["hrms"] = p.hrms;
    out["htr_hrms"] = p.normalised.htrNorm;
    out["h1_hrms"] = p.normalised.h1Norm;
    out["h2_hrms"] = p.normalised.h2Norm;
    out["h13"] = p.h13;
    out["h110"] = p.h110;
    out["h2_percent"] = p.h2Percent;
    out["h1_percent"] = p.h1Percent;
    return std::move(out);
}

py::object waves(const py::object& data, std::optional<double> rate, int channel, int from,
                 std::optional<int> to, bool up, double threshold, const std::string& detrend,
                 double depth, double slope) {
    const Detrend d = detrendOf(detrend);
    BlockSource source(data, rate);
    BlockValues block = source.block(channel, from, source.stop(to));
    WaveOptions options;
    options.upCrossing = up;
    options.threshold = threshold;
    options.detrend = d;
    options.depth = depth;
    options.slope = slope;
    WaveStatistics s;
    std::string why;
    bool ok;
    {
        py::gil_scoped_release released;
        ok = analyseWaves(block, options, s, &why);
    }
    if (!ok) throw py::value_error(why);
    return resultType("WaveStatistics")(
        s.count, s.mean, s.hMax, s.tHMax, finite(s.h13), finite(s.t13), finite(s.h110),
        finite(s.t110), s.hMean, s.hRms, s.tz, s.tMax, waveList(s.waves), s.heights.hm0,
        finite(s.heights.h2Percent), finite(s.heights.h1Percent), s.heights.hMaxOverHm0,
        exceedance(s.heights), predicted(s.heights), warningList(waveNoiseWarnings(s)));
}

py::array_t<double> frequencies(const VarianceSpectrum& s) {
    py::array_t<double> out(py::ssize_t(s.density.size()));
    double* at = out.mutable_data();
    for (size_t j = 0; j < s.density.size(); ++j)
        at[j] = s.frequency(j);
    return out;
}

py::array_t<double> array(const std::vector<double>& values) {
    return py::array_t<double>(py::ssize_t(values.size()), values.data());
}

py::array_t<double> densities(const VarianceSpectrum& s) {
    return array(s.density);
}

py::object spectrum(const py::object& data, std::optional<double> rate, int channel, int from,
                    std::optional<int> to, int segment, double fmin, double fmax,
                    const std::string& detrend) {
    const Detrend d = detrendOf(detrend);
    BlockSource source(data, rate);
    BlockValues block = source.block(channel, from, source.stop(to));
    const CMeasure& m = source.measure();
    SpectrumReport r;
    std::string why;
    bool ok;
    {
        py::gil_scoped_release released;
        ok = spectrumReport(block, segment, d, SpectralBand{fmin, fmax}, r, &why);
    }
    if (!ok) throw py::value_error(why);
    auto curve = std::make_unique<CMeasure>();
    if (!spectrumMeasure(r.spectrum, r.band, m.channels[channel].unit, *curve))
        throw py::value_error("out of memory for the spectrum");
    const VarianceSpectrum& s = r.spectrum;
    const SpectralParameters& p = r.parameters;
    return resultType("VarianceSpectrum")(
        frequencies(s), densities(s), array(r.band.lower), array(r.band.upper), s.segment,
        s.segmentCount, s.df, p.fmin, p.fmax, p.mMinus1, p.m0, p.m1, p.m2, s.varianceBelowF1, p.hm0,
        p.fp, p.tp, p.tpParabola, p.tp5, p.tpD, p.tm01, p.tm02, p.tm10, p.width, p.qp, r.band.dof,
        r.band.level, r.band.lowerFactor, r.band.upperFactor, detrendName(d),
        wrapMeasure(std::move(curve)), warningList(r.warnings));
}

// Every gauge's channel is checked before the range, as ondarix-batch does.
std::vector<BlockValues> gaugeBlocks(const BlockSource& source, const std::vector<int>& channels,
                                     int from, int to) {
    for (int c : channels)
        checkedBlock(source.measure(), c, 0, 0);
    const std::string repeated =
        repeatedChannelRefusal(std::vector<int32_t>(channels.begin(), channels.end()));
    if (!repeated.empty()) throw py::value_error(repeated);
    // The first bad row of all the gauges, not of the first gauge that has one.
    return source.blocks(channels, from, to);
}

py::object separability(const std::vector<char>& flags) {
    py::array_t<bool> out(py::ssize_t(flags.size()));
    bool* at = out.mutable_data();
    for (char f : flags)
        *at++ = f != 0;
    return out;
}

py::list leftOutList(const std::vector<FrequencyRange>& ranges) {
    py::list out;
    for (const FrequencyRange& r : ranges)
        out.append(py::make_tuple(r.from, r.to));
    return out;
}

py::object harmonic(const HarmonicWave& w, bool known) {
    return known ? py::object(py::make_tuple(w.amplitude, w.phase)) : py::none();
}

py::object regularResult(const std::vector<BlockValues>& blocks, const ReflectionOptions& o) {
    RegularReflectionOptions options;
    options.positions = o.positions;
    options.depth = o.depth;
    options.detrend = o.detrend;
    RegularReflectionResult r;
    std::string why;
    bool ok;
    {
        py::gil_scoped_release released;
        ok = separateRegularReflection(blocks, options, r, &why);
    }
    if (!ok) throw py::value_error(why);
    const bool second = r.secondHarmonic;
    return resultType("RegularReflection")(
        r.frequency, r.lineShare, r.k1, r.k2, harmonic(r.incident, true),
        harmonic(r.reflected, true), finite(r.kr), harmonic(r.boundIncident, second),
        harmonic(r.boundReflected, second), harmonic(r.freeIncident, second),
        harmonic(r.freeReflected, second), second ? finite(r.secondCondition) : py::none());
}

py::object seriesMeasurement(const std::vector<BlockValues>& blocks, const ReflectionOptions& o,
                             double at, const char* unit) {
    ReflectionSeries series;
    std::string why;
    bool ok;
    {
        py::gil_scoped_release released;
        ok = reflectionSeries(blocks, o, at, series, &why);
    }
    if (!ok) throw py::value_error(why);
    auto m = std::make_unique<CMeasure>();
    if (!reflectionSeriesMeasure(series, unit, *m))
        throw py::value_error("out of memory for the series");
    return wrapMeasure(std::move(m));
}

py::object reflection(const py::object& data, std::optional<double> rate,
                      std::optional<std::vector<int>> given, int from, std::optional<int> to,
                      const std::vector<double>& positions, double depth, int segment, double fmin,
                      double fmax, const std::string& detrend, bool series,
                      std::optional<double> at, bool regular) {
    const Detrend d = detrendOf(detrend);
    if (regular && series) throw py::value_error("a regular separation makes no series");
    if (at && !series) throw py::value_error("at goes with series=True");
    BlockSource source(data, rate);
    std::vector<int> channels;
    if (given)
        channels = *given;
    else
        for (int c = 0; c < source.measure().channelCount; ++c)
            channels.push_back(c);
    if (channels.size() != positions.size())
        throw py::value_error("channels and positions differ in count");
    std::vector<BlockValues> blocks = gaugeBlocks(source, channels, from, source.stop(to));
    ReflectionOptions options;
    options.positions = positions;
    options.depth = depth;
    options.segment = segment;
    options.band = SpectralBand{fmin, fmax};
    options.detrend = d;
    if (regular) return regularResult(blocks, options);
    ReflectionResult r;
    std::string why;
    bool ok;
    {
        py::gil_scoped_release released;
        ok = separateReflection(blocks, options, r, &why);
    }
    if (!ok) throw py::value_error(why);
    const char* unit = source.measure().channels[channels[0]].unit;
    auto curves = std::make_unique<CMeasure>();
    if (!reflectionTableMeasure(r, unit, *curves))
        throw py::value_error("out of memory for the spectra");
    py::object seriesOut =
        series ? seriesMeasurement(blocks, options, at.value_or(positions[0]), unit) : py::none();
    return resultType("Reflection")(frequencies(r.incident), densities(r.incident),
                                    densities(r.reflected), r.df, r.incident.segment, r.incident.df,
                                    r.fmin, r.fmax, r.binsUsed, r.binsLeftOut, r.hm0Incident,
                                    r.hm0Reflected, r.kr, wrapMeasure(std::move(curves)),
                                    separability(r.separable), leftOutList(r.leftOut), seriesOut);
}

} // namespace

void bindWaveAnalyses(py::module_& m) {
    m.def("_waves", &waves, py::arg("data"), py::arg("rate"), py::arg("channel"), py::arg("start"),
          py::arg("stop"), py::kw_only(), py::arg("up"), py::arg("threshold"), py::arg("detrend"),
          py::arg("depth") = 0.0, py::arg("slope") = 0.0);
    m.def("_spectrum", &spectrum, py::arg("data"), py::arg("rate"), py::arg("channel"),
          py::arg("start"), py::arg("stop"), py::kw_only(), py::arg("segment"), py::arg("fmin"),
          py::arg("fmax"), py::arg("detrend"));
    m.def("_reflection", &reflection, py::arg("data"), py::arg("rate"), py::arg("channels"),
          py::arg("start"), py::arg("stop"), py::kw_only(), py::arg("positions"), py::arg("depth"),
          py::arg("segment"), py::arg("fmin"), py::arg("fmax"), py::arg("detrend"),
          py::arg("series") = false, py::arg("at") = std::nullopt, py::arg("regular") = false);
}
