#include "generator/generator_layout.h"

#include <cmath>

#include "generator/correction_coefficients.h"
#include "numeric/constants.h"
#include "numeric/dispersion.h"

namespace {

bool positive(double x) {
    return std::isfinite(x) && x > 0.0;
}

std::string checkCounts(const GeneratorParameters& p) {
    if (p.model_generacji < 0 || p.model_generacji >= GENERATOR_MODEL_COUNT)
        return "the model must be 0 to 6";
    if (p.czas_narastania < 0 || p.czas_ustalony < 0 || p.czas_zaniku < 0)
        return "the numbers of waves must not be negative";
    if (p.stopien_rozniczkowalnosci < 0) return "the degree must not be negative";
    if (p.stopien_rozniczkowalnosci > GENERATOR_MAX_DEGREE) return "the degree must be at most 100";
    return "";
}

std::string checkWave(const GeneratorParameters& p) {
    if (!positive(p.okres_probkowania)) return "the time step must be a positive number";
    if (!positive(p.dlugosc_fali)) return "the wave length must be a positive number";
    if (!positive(p.wysokosc_wody)) return "the depth must be a positive number";
    if (!positive(p.narastanie)) return "the rise factor must be a positive number";
    return "";
}

// Only the values the chosen model reads are checked: the others may hold
// anything without harm.
std::string checkModelValues(const GeneratorParameters& p) {
    switch (p.model_generacji) {
    case 3:
        if (!std::isfinite(p.wspolczynnik_xa)) return "xa must be a finite number";
        break;
    case 5:
        if (!std::isfinite(p.wspolczynnik_w1) || !std::isfinite(p.wspolczynnik_w2) ||
            !std::isfinite(p.wspolczynnik_w3))
            return "the Stokes coefficients must be finite numbers";
        break;
    case 6:
        if (!std::isfinite(p.wspolczynnik_fio)) return "Fio must be a finite number";
        if (!std::isfinite(p.wspolczynnik_cr)) return "Cr must be a finite number";
        if (!positive(p.wielkosc_grupy)) return "NW must be a positive number";
        break;
    default:
        break;
    }
    return "";
}

// Samples of a phase of `waves` periods, rounded to the nearest; in double so
// that no count can overflow before it is compared with the limit.
double phaseSamples(int32_t waves, double period, double dt) {
    return std::floor(double(waves) * period / dt + 0.5);
}

std::string planPhases(const GeneratorParameters& p, GeneratorLayout& layout) {
    double c = phaseSamples(p.czas_narastania, layout.period, layout.dt);
    double d = phaseSamples(p.czas_ustalony, layout.period, layout.dt);
    double e = phaseSamples(p.czas_zaniku, layout.period, layout.dt);
    double total = c + d + e + 1.0;
    if (!(total <= double(GENERATOR_MAX_SAMPLES)))
        return "the signal would need more than 2097152 samples; use fewer waves or a longer "
               "time step";
    layout.rise = int32_t(c);
    layout.steady = int32_t(d);
    layout.decay = int32_t(e);
    layout.sampleCount = int32_t(total);
    return "";
}

void planCorrections(const GeneratorParameters& p, GeneratorLayout& layout) {
    const int32_t model = p.model_generacji;
    layout.xa = 0.0;
    layout.xd = 0.0;
    if (model == 0) {
        layout.xa = correctionFormulaA(layout.n, layout.b, layout.omega);
        layout.xd = correctionFormulaB(layout.n, layout.b, layout.omega, layout.xa);
    } else if (model == 1) {
        layout.xa = correctionFormulaC(layout.n, layout.b);
        layout.xd = layout.xa;
    } else if (model == 3) {
        layout.xa = p.wspolczynnik_xa;
    }
}

} // namespace

std::string planGeneratorLayout(const GeneratorParameters& p, GeneratorLayout& layout) {
    std::string reason = checkCounts(p);
    if (reason.empty()) reason = checkWave(p);
    if (reason.empty()) reason = checkModelValues(p);
    if (!reason.empty()) return reason;

    layout.dt = p.okres_probkowania;
    layout.omega = dispersionOmega(p.dlugosc_fali, p.wysokosc_wody);
    layout.period = TWO_PI / layout.omega;
    if (!positive(layout.omega) || !positive(layout.period) || !positive(1.0 / layout.dt))
        return "the wave length, depth and time step give no usable wave period";

    reason = planPhases(p, layout);
    if (!reason.empty()) return reason;

    layout.n = p.stopien_rozniczkowalnosci + 1;
    layout.b = p.narastanie / layout.period;
    if (!positive(layout.b) || !std::isfinite(layout.b * layout.dt))
        return "the rise factor gives no usable rise rate";
    planCorrections(p, layout);
    if (!std::isfinite(layout.xa) || !std::isfinite(layout.xd))
        return "the correction coefficients overflow for this rise factor and degree";
    return "";
}
