// Wave heights on a shallow foreshore after Battjes and Groenendijk (2000,
// Coastal Engineering 40, 161-182): a Rayleigh-like Weibull of exponent 2
// below the transitional height Htr and a steeper one of exponent 3.6 above
// it, the breaking waves. Heights normalised by Hrms carry a tilde there and
// "Norm" here.
#pragma once

#include <string>

struct CompositeWeibull {
    double htrNorm = 0;       // Htr / Hrms
    double h1Norm = 0;        // scale of the lower part, H1 / Hrms
    double h2Norm = 0;        // scale of the upper part, H2 / Hrms
    double h13Norm = 0;       // mean of the highest third
    double h110Norm = 0;      // mean of the highest tenth
    double h2PercentNorm = 0; // exceeded by 2 % of the waves
    double h1PercentNorm = 0; // exceeded by 1 % of the waves
};

// Solves the two conditions that fix H1 and H2 for a given Htr/Hrms: the
// distribution is continuous at Htr and its root mean square is Hrms. False
// when htrNorm is not a positive number.
bool compositeWeibull(double htrNorm, CompositeWeibull& out);

// P(H > h) of the distribution for h in units of Hrms.
double compositeWeibullExceedance(const CompositeWeibull& w, double hNorm);

// The prediction for a record of `hm0` (4 sqrt(m0)) at `depth` on a foreshore
// of slope tan(alpha), all lengths in one unit: Htr = (0.35 + 5.8 tan(alpha))
// depth and Hrms = (0.6725 + 0.2025 Hm0/depth) Hm0 (their fit of Hrms to m0
// and the depth), then the heights above in that unit.
struct ShallowWaterHeights {
    double htr = 0, hrms = 0;
    double h13 = 0, h110 = 0, h2Percent = 0, h1Percent = 0;
    CompositeWeibull normalised;
};

// False with `*error` set when the depth is not positive, the slope negative
// or Hm0 not a positive number.
bool shallowWaterHeights(double hm0, double depth, double slope, ShallowWaterHeights& out,
                         std::string* error);
