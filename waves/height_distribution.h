// The distribution of the measured wave heights against the ones labs
// quote: Rayleigh's for a narrow-band sea in deep water, P(H > h) =
// exp(-2 (h/Hm0)^2), and Battjes and Groenendijk's composite Weibull on a
// shallow foreshore (waves/composite_weibull.h).
#pragma once

#include <string>
#include <vector>

#include "waves/composite_weibull.h"

// The height exceeded by the fraction p of the waves, from heights sorted
// highest first: on the plotting positions P_i = i / (N + 1) of the i-th
// highest, linearly between two; NaN when p (N + 1) falls outside 1..N (too
// few waves: at least 49 for 2 %, 99 for 1 %).
double heightExceededBy(const std::vector<double>& descending, double p);

double rayleighExceedance(double h, double hm0);

// One point of the exceedance plot per wave, highest first.
struct ExceedancePoint {
    double height;
    double measured; // i / (N + 1)
    double rayleigh;
    double weibull; // NaN without a depth and a slope
};

struct HeightDistribution {
    double hm0 = 0;       // 4 sqrt(m0) of the block as analysed
    double h2Percent = 0; // measured, exceeded by 2 % of the waves
    double h1Percent = 0; // measured, exceeded by 1 %
    double hMaxOverHm0 = 0;
    bool shallow = false;          // depth and slope given
    ShallowWaterHeights predicted; // in the heights' unit when shallow
    std::vector<ExceedancePoint> points;
};

// `heights` in any order, `m0` the variance the crossings were taken about;
// `depth` and `slope` (tan alpha) in the heights' unit, both 0 for none.
// False with `*error` set when there is no height or the depth or the slope
// is bad.
bool heightDistribution(const std::vector<double>& heights, double m0, double depth, double slope,
                        HeightDistribution& out, std::string* error);

// Its values as "label<TAB>value" lines (heights in `unit`).
std::vector<std::string> heightDistributionLines(const HeightDistribution& d, const char* unit);
