#include "waves/gauge_plan.h"

#include <algorithm>
#include <cmath>

#include "numeric/constants.h"
#include "waves/parameter_text.h"
#include "waves/reflection.h"
#include "waves/reflection_system.h"
#include "waves/wave_number.h"

namespace {

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// Gauges spaced d, d g, d g^2, ... from 0.
std::vector<double> layout(int32_t gauges, double d, double g) {
    std::vector<double> x(size_t(gauges), 0.0);
    double step = d;
    for (size_t p = 1; p < x.size(); ++p) {
        x[p] = x[p - 1] + step;
        step *= g;
    }
    return x;
}

// The highest |S|/P over kmin .. kmax, k stepped so that the phase across the
// array moves by at most `phaseStep`.
double worstCoherence(const std::vector<double>& x, double kmin, double kmax, double phaseStep,
                      double* worstK = nullptr) {
    const double span = x.back() - x.front();
    const int steps = std::max(8, int(std::ceil((kmax - kmin) * 2 * span / phaseStep)));
    double worst = 0;
    for (int i = 0; i <= steps; ++i) {
        const double k = kmin + (kmax - kmin) * i / steps;
        const double c = gaugeCoherence(x, k);
        if (c > worst) {
            worst = c;
            if (worstK) *worstK = k;
        }
    }
    return worst;
}

std::string checkRequest(const GaugePlanRequest& r) {
    if (!(r.depth > 0) || !std::isfinite(r.depth)) return "the depth must be > 0";
    if (!(r.fmin > 0) || !std::isfinite(r.fmin)) return "fmin must be > 0";
    if (!(r.fmax > r.fmin) || !std::isfinite(r.fmax)) return "fmax must be above fmin";
    if (r.gauges < 2 || size_t(r.gauges) > MAX_REFLECTION_GAUGES)
        return "the gauges must number 2 to " + std::to_string(MAX_REFLECTION_GAUGES);
    return "";
}

} // namespace

bool planGauges(const GaugePlanRequest& request, GaugePlan& out, std::string* error) {
    const std::string bad = checkRequest(request);
    if (!bad.empty()) return fail(error, bad);
    const double kmin = waveNumber(2 * PI * request.fmin, request.depth);
    const double kmax = waveNumber(2 * PI * request.fmax, request.depth);
    GaugePlan plan;
    plan.lengthAtFmin = 2 * PI / kmin;
    plan.lengthAtFmax = 2 * PI / kmax;
    // Coarse over the candidates, fine for the one kept.
    const double coarse = 0.05, fine = 0.005;
    struct Candidate {
        double coherence, span;
        std::vector<double> x;
    };
    std::vector<Candidate> tried;
    const int spacings = 160;
    for (double g : {1.0, 1.2, 1.4, 1.6, 1.8, 2.0}) {
        if (request.gauges == 2 && g != 1.0) break;
        for (int i = 0; i <= spacings; ++i) {
            const double d =
                plan.lengthAtFmax * 0.02 *
                std::pow(plan.lengthAtFmin / plan.lengthAtFmax * 25.0, double(i) / spacings);
            std::vector<double> x = layout(request.gauges, d, g);
            if (x.back() > plan.lengthAtFmin) break;
            tried.push_back({worstCoherence(x, kmin, kmax, coarse), x.back(), std::move(x)});
        }
    }
    // Nearly as good and shorter wins: a long array sees a wave change on
    // its way along it.
    double best = INFINITY, bestSpan = INFINITY;
    for (const Candidate& c : tried)
        best = std::min(best, c.coherence);
    for (const Candidate& c : tried)
        if (c.coherence <= best + 0.005 && c.span < bestSpan) {
            bestSpan = c.span;
            plan.positions = c.x;
        }
    if (plan.positions.empty()) return fail(error, "no layout fits within the longest wave length");
    double worstK = kmin;
    plan.worstCoherence = worstCoherence(plan.positions, kmin, kmax, fine, &worstK);
    plan.worstFrequency =
        std::sqrt(GRAVITY * worstK * std::tanh(worstK * request.depth)) / (2 * PI);
    if (plan.worstCoherence > MAX_REFLECTION_COHERENCE)
        return fail(error, "no layout of " + std::to_string(request.gauges) +
                               " gauges keeps the whole band separable (the best leaves |S|/P " +
                               parameterNumber(plan.worstCoherence) + " at " +
                               parameterNumber(plan.worstFrequency) +
                               " Hz): narrow the band or add gauges");
    out = plan;
    return true;
}

std::vector<std::string> gaugePlanLines(const GaugePlan& plan) {
    std::string positions;
    for (double x : plan.positions)
        positions += (positions.empty() ? "" : ",") + parameterNumber(x);
    const bool two = plan.positions.size() == 2;
    const double c = plan.worstCoherence;
    std::vector<std::string> lines = {
        "Positions (m)\t" + positions,
        std::string("Criterion\t") + (two ? "Goda and Suzuki: 0.05 < dx/L < 0.45 (modulo 0.5)"
                                          : "condition number (P + |S|) / (P - |S|) <= 39.9"),
        parameterLine("L at fmin (m)", plan.lengthAtFmin),
        parameterLine("L at fmax (m)", plan.lengthAtFmax),
        parameterLine("Worst |S|/P", c),
        parameterLine("Worst condition number", (1 + c) / (1 - c)),
        parameterLine("Worst at (Hz)", plan.worstFrequency),
    };
    if (two) {
        const double dx = plan.positions[1] - plan.positions[0];
        lines.push_back(parameterLine("dx/L at fmin", dx / plan.lengthAtFmin));
        lines.push_back(parameterLine("dx/L at fmax", dx / plan.lengthAtFmax));
    }
    return lines;
}
