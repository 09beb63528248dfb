// generate: the wave-maker signal synthesis, its parameters as keywords with
// the built-in defaults (never the stored settings), as ondarix-batch generate.
#include <pybind11/stl.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "generator/generator.h"
#include "generator/generator_synthesis.h"
#include "python/generate_function.h"
#include "python/measurement_object.h"

namespace {

py::object generate(int model, std::array<int, 3> waves, double timeStep, double waveLength,
                    double depth, double rise, double xa, double c1, double c2, double c3,
                    double fio, double cr, double nw, int degree, std::optional<unsigned> seed) {
    GeneratorParameters p;
    p.model_generacji = model;
    p.czas_narastania = waves[0];
    p.czas_ustalony = waves[1];
    p.czas_zaniku = waves[2];
    p.okres_probkowania = timeStep;
    p.dlugosc_fali = waveLength;
    p.wysokosc_wody = depth;
    p.narastanie = rise;
    p.wspolczynnik_xa = xa;
    p.wspolczynnik_w1 = c1;
    p.wspolczynnik_w2 = c2;
    p.wspolczynnik_w3 = c3;
    p.wspolczynnik_fio = fio;
    p.wspolczynnik_cr = cr;
    p.wielkosc_grupy = nw;
    p.stopien_rozniczkowalnosci = degree;
    auto generator = std::make_unique<CGenerator>(p);
    std::string why;
    bool ok;
    {
        py::gil_scoped_release released;
        ok = seed ? GeneratorSynthesisSeeded(*generator, *seed, &why)
                  : GeneratorSynthesis(*generator, &why);
    }
    if (!ok) throw py::value_error(why);
    const double period = generator->parameters.period;
    return py::module_::import("ondarix._results")
        .attr("GeneratedSignal")(wrapMeasure(std::move(generator)), period);
}

} // namespace

void bindGenerate(py::module_& m) {
    const GeneratorParameters d;
    m.def("generate", &generate, py::kw_only(), py::arg("model") = d.model_generacji,
          py::arg("waves") = std::array<int, 3>{d.czas_narastania, d.czas_ustalony, d.czas_zaniku},
          py::arg("time_step") = d.okres_probkowania, py::arg("wave_length") = d.dlugosc_fali,
          py::arg("depth") = d.wysokosc_wody, py::arg("rise") = d.narastanie,
          py::arg("xa") = d.wspolczynnik_xa, py::arg("c1") = d.wspolczynnik_w1,
          py::arg("c2") = d.wspolczynnik_w2, py::arg("c3") = d.wspolczynnik_w3,
          py::arg("fio") = d.wspolczynnik_fio, py::arg("cr") = d.wspolczynnik_cr,
          py::arg("nw") = d.wielkosc_grupy, py::arg("degree") = d.stopien_rozniczkowalnosci,
          py::arg("seed") = py::none(),
          R"(Synthesises a wave-maker control signal.

The keywords are those of `ondarix-batch generate` (model 0..6; waves =
(rise, steady, decay) whole numbers of waves; time_step s; wave_length m;
depth m; rise; xa; c1, c2, c3; fio rad; cr; nw; degree), with the built-in
defaults shown in the signature. `seed` makes model 4's noise reproducible.
Returns GeneratedSignal(measurement, period): channel 0 "Generated" [cm]
and channel 1 its derivative [cm/s]; period is the wave period T in s.
Raises ValueError with the reason for parameters that cannot be synthesised.)");
}
