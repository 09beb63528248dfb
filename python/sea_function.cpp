// _sea: the drive of an irregular or regular sea and its correction, the
// keywords of ondarix-batch sea; ondarix.sea in sea.py reads the files.
#include "python/sea_function.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "python/block_check.h"
#include "python/measurement_object.h"
#include "sea/correction_round.h"
#include "sea/spectrum_table.h"

namespace {

struct SeaArguments {
    std::string spectrum;
    std::optional<std::string> table;
    std::string paddle, method;
    std::optional<std::pair<double, double>> regular;
    // A focused group's time, distance and crest (0: the default crest).
    std::optional<std::tuple<double, double, double>> focus;
    double solitary = 0; // a solitary wave's height; 0: none
    double sigma = 0;    // a Gaussian swell's width
    // An Ochi-Hubble spectrum's H1, T1, L1, H2, T2, L2.
    std::optional<std::array<double, 6>> ochiHubble;
    // A composite sea's parts: shape, Hm0, Tp, gamma.
    std::vector<std::tuple<std::string, double, double, double>> parts;
    // A bichromatic group's H1, T1, H2, T2.
    std::optional<std::array<double, 4>> bichromatic;
    // The order and the second order's controls, as SeaParameters holds them.
    int order = 1;
    bool subharmonics = true, superharmonics = true, limitSubharmonics = false;
    double pairFmin = 0, pairFmax = 0, differenceFmin = SEA_DEFAULT_DIFFERENCE_FMIN;
};

// The words onto the parameters; a word that is none of the choices is a
// ValueError with the command line's text.
void readWords(const SeaArguments& a, SeaParameters& p) {
    if (a.focus) {
        p.focused = true;
        std::tie(p.focusTime, p.focusDistance, p.focusCrest) = *a.focus;
    }
    p.solitaryHeight = a.solitary;
    p.sigma = a.sigma;
    if (a.ochiHubble) {
        const auto& o = *a.ochiHubble;
        p.ochiHubble = {{o[0], o[3]}, {o[1], o[4]}, {o[2], o[5]}};
    }
    if (a.bichromatic) {
        const auto& b = *a.bichromatic;
        p.bichromatic = true;
        p.bichromaticHeight[0] = b[0];
        p.bichromaticPeriod[0] = b[1];
        p.bichromaticHeight[1] = b[2];
        p.bichromaticPeriod[1] = b[3];
    }
    p.order = a.order;
    p.subharmonics = a.subharmonics;
    p.superharmonics = a.superharmonics;
    p.limitSubharmonics = a.limitSubharmonics;
    p.pairFmin = a.pairFmin;
    p.pairFmax = a.pairFmax;
    p.differenceFmin = a.differenceFmin;
    if (a.regular) {
        p.regular = true;
        p.regularHeight = a.regular->first;
        p.regularPeriod = a.regular->second;
    }
    for (const auto& [shape, hm0, tp, gamma] : a.parts) {
        SeaPart part{SpectrumShape::Jonswap, hm0, tp, gamma};
        if (!spectrumShapeNamed(shape, part.shape))
            throw py::value_error(
                "a part of a composite sea is jonswap, pm, tma, bm, gaussian or torsethaugen, "
                "not '" +
                shape + "'");
        p.parts.push_back(part);
    }
    if (a.table) {
        p.spectrum = SpectrumShape::Table;
        std::string why;
        if (!p.regular && !readSpectrumTable(*a.table, p.table, &why)) {
            if (why.rfind("cannot ", 0) != 0) throw py::value_error(why);
            PyErr_SetString(PyExc_OSError, why.c_str());
            throw py::error_already_set();
        }
    } else if (!spectrumShapeNamed(a.spectrum, p.spectrum)) {
        throw py::value_error(
            "spectrum is jonswap, pm, tma, bm, gaussian, ochi-hubble, torsethaugen or a table's "
            "path, not '" +
            a.spectrum + "'");
    }
    if (!paddleTypeNamed(a.paddle, p.paddle.type))
        throw py::value_error("paddle is piston or flap, not '" + a.paddle + "'");
    if (!seaMethodNamed(a.method, p.method))
        throw py::value_error("method is phase or amplitude, not '" + a.method + "'");
}

py::dict reportDict(const SeaReport& r, const SeaParameters& p) {
    py::dict d;
    for (const auto& [key, word] : seaReportWords(r, p))
        d[key.c_str()] = word;
    for (const SeaReportField& f : seaReportFields(r)) {
        if (f.whole)
            d[f.key.c_str()] = int64_t(f.value);
        else if (f.key == "seed")
            d[f.key.c_str()] = r.seed;
        else
            d[f.key.c_str()] = f.value;
    }
    return d;
}

py::object result(const SeaDrive& d, const SeaParameters& p) {
    auto m = std::make_unique<CMeasure>();
    if (!seaDriveMeasure(d, *m)) throw py::value_error("out of memory for the drive");
    auto e = std::make_unique<CMeasure>();
    if (!seaElevationMeasure(d, *e)) throw py::value_error("out of memory for the elevation");
    const size_t bins = d.target.binDensity.size();
    py::array_t<double> f{py::ssize_t(bins)}, s{py::ssize_t(bins)};
    for (size_t i = 0; i < bins; ++i) {
        f.mutable_data()[i] = d.target.frequency(d.target.firstBin + i);
        s.mutable_data()[i] = d.target.binDensity[i];
    }
    return py::module_::import("ondarix._results")
        .attr("Sea")(wrapMeasure(std::move(m)), f, s, reportDict(d.report, p),
                     wrapMeasure(std::move(e)));
}

py::object sea(const SeaArguments& a, double hm0, double tp, double gamma, double depth,
               double hinge, double dt, double duration, uint64_t seed, double fmin, double fmax,
               double ramp, double maxStroke, double maxVelocity, MeasurementObject* correct,
               int channel, int from, int to, int smooth, MeasurementObject* drive) {
    SeaParameters p;
    readWords(a, p);
    p.hm0 = hm0;
    p.tp = tp;
    p.gamma = gamma;
    p.depth = depth;
    p.paddle.hinge = hinge;
    p.dt = dt;
    p.duration = duration;
    p.seed = seed;
    p.fmin = fmin;
    p.fmax = fmax;
    p.ramp = ramp;
    p.maxStroke = maxStroke;
    p.maxVelocity = maxVelocity;
    if (!a.parts.empty()) {
        p.spectrum = SpectrumShape::Composite;
        compositeTotals(p.parts, p.hm0, p.tp);
    }
    if (p.spectrum == SpectrumShape::OchiHubble) {
        if (!a.ochiHubble) throw py::value_error("spectrum ochi-hubble needs ochi_hubble=");
        ochiHubbleTotals(p.ochiHubble, p.hm0, p.tp);
    }
    std::string why = validateSeaParameters(p);
    if (!why.empty()) throw py::value_error(why);
    SeaDrive d;
    bool ok;
    if (correct) {
        const CMeasure& measured = coreOf(*correct);
        const BlockRange range = checkedBlock(measured, channel, from, to);
        checkFinite(measured, range);
        const CMeasure* previous = drive ? &coreOf(*drive) : nullptr;
        py::gil_scoped_release released;
        ok = correctionRound(p, previous, measured, range, smooth, d, &why);
    } else {
        py::gil_scoped_release released;
        ok = synthesiseSea(p, d, &why);
    }
    if (!ok) throw py::value_error(why);
    return result(d, p);
}

py::object seaEntry(const std::string& spectrum, std::optional<std::string> table, double hm0,
                    double tp, double gamma, double depth, const std::string& paddle, double hinge,
                    double dt, double duration, uint64_t seed, const std::string& method,
                    double fmin, double fmax, double ramp,
                    std::optional<std::pair<double, double>> regular,
                    std::optional<std::tuple<double, double, double>> focus, double solitary,
                    double sigma, std::optional<std::array<double, 6>> ochiHubble,
                    std::vector<std::tuple<std::string, double, double, double>> parts,
                    std::optional<std::array<double, 4>> bichromatic,
                    std::tuple<int, bool, bool, bool, double, double, double> order,
                    double maxStroke, double maxVelocity, MeasurementObject* correct, int channel,
                    int from, int to, int smooth, MeasurementObject* drive) {
    SeaArguments a{spectrum,   std::move(table), paddle, method,     regular,
                   focus,      solitary,         sigma,  ochiHubble, std::move(parts),
                   bichromatic};
    std::tie(a.order, a.subharmonics, a.superharmonics, a.limitSubharmonics, a.pairFmin, a.pairFmax,
             a.differenceFmin) = order;
    return sea(a, hm0, tp, gamma, depth, hinge, dt, duration, seed, fmin, fmax, ramp, maxStroke,
               maxVelocity, correct, channel, from, to, smooth, drive);
}

} // namespace

void bindSea(py::module_& m) {
    m.def("_sea", &seaEntry, py::kw_only(), py::arg("spectrum"), py::arg("table"), py::arg("hm0"),
          py::arg("tp"), py::arg("gamma"), py::arg("depth"), py::arg("paddle"), py::arg("hinge"),
          py::arg("dt"), py::arg("duration"), py::arg("seed"), py::arg("method"), py::arg("fmin"),
          py::arg("fmax"), py::arg("ramp"), py::arg("regular"), py::arg("focus").none(true),
          py::arg("solitary"), py::arg("sigma"), py::arg("ochi_hubble").none(true),
          py::arg("parts"), py::arg("bichromatic").none(true), py::arg("order"),
          py::arg("max_stroke"), py::arg("max_velocity"), py::arg("correct").none(true),
          py::arg("channel"), py::arg("start"), py::arg("stop"), py::arg("smooth"),
          py::arg("drive").none(true));
}
