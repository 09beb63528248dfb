#include "waves/height_distribution.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "waves/parameter_text.h"

double heightExceededBy(const std::vector<double>& descending, double p) {
    const double n = double(descending.size());
    const double rank = p * (n + 1); // 1-based, fractional
    if (!(rank >= 1) || rank > n) return NAN;
    const size_t below = size_t(std::floor(rank));
    const double part = rank - double(below);
    if (below >= descending.size()) return descending.back();
    return descending[below - 1] + part * (descending[below] - descending[below - 1]);
}

double rayleighExceedance(double h, double hm0) {
    if (h <= 0) return 1;
    const double r = h / hm0;
    return std::exp(-2 * r * r);
}

bool heightDistribution(const std::vector<double>& heights, double m0, double depth, double slope,
                        HeightDistribution& out, std::string* error) {
    if (heights.empty()) {
        if (error) *error = "there is no wave height";
        return false;
    }
    HeightDistribution d;
    d.hm0 = 4 * std::sqrt(m0);
    d.shallow = depth != 0 || slope != 0;
    if (d.shallow && !shallowWaterHeights(d.hm0, depth, slope, d.predicted, error)) return false;
    std::vector<double> sorted = heights;
    std::sort(sorted.begin(), sorted.end(), std::greater<double>());
    d.h2Percent = heightExceededBy(sorted, 0.02);
    d.h1Percent = heightExceededBy(sorted, 0.01);
    d.hMaxOverHm0 = d.hm0 > 0 ? sorted.front() / d.hm0 : NAN;
    const double n = double(sorted.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        const double h = sorted[i];
        const double weibull =
            d.shallow ? compositeWeibullExceedance(d.predicted.normalised, h / d.predicted.hrms)
                      : NAN;
        d.points.push_back({h, double(i + 1) / (n + 1), rayleighExceedance(h, d.hm0), weibull});
    }
    out = std::move(d);
    return true;
}

std::vector<std::string> heightDistributionLines(const HeightDistribution& d, const char* unit) {
    const std::string u = std::string(" (") + unit + ")";
    std::vector<std::string> lines{
        parameterLine("Hm0" + u, d.hm0),
        parameterLine("H2%" + u, d.h2Percent),
        parameterLine("H1%" + u, d.h1Percent),
        parameterLine("Hmax/Hm0", d.hMaxOverHm0),
    };
    if (!d.shallow) return lines;
    const ShallowWaterHeights& p = d.predicted;
    for (auto line :
         {parameterLine("BG Htr" + u, p.htr), parameterLine("BG Hrms" + u, p.hrms),
          parameterLine("BG Htr/Hrms", p.normalised.htrNorm),
          parameterLine("BG H1/Hrms", p.normalised.h1Norm),
          parameterLine("BG H2/Hrms", p.normalised.h2Norm), parameterLine("BG H1/3" + u, p.h13),
          parameterLine("BG H1/10" + u, p.h110), parameterLine("BG H2%" + u, p.h2Percent),
          parameterLine("BG H1%" + u, p.h1Percent)})
        lines.push_back(line);
    return lines;
}
