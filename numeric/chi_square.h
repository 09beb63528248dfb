// The chi-square distribution of a real number of degrees of freedom: its
// distribution function through the regularised incomplete gamma function
// (Abramowitz and Stegun 1964, 6.5 and 26.4.19; evaluated as in Numerical
// Recipes, Press et al. 2007, 6.2) and its inverse.
#pragma once

// P(a, x) = gamma(a, x) / Gamma(a) for a > 0, x >= 0; NaN outside.
double regularizedGammaP(double a, double x);
// Q(a, x) = 1 - P(a, x), without the loss of 1 - P where P is near 1.
double regularizedGammaQ(double a, double x);

// The x with P(chi^2_nu <= x) = p, for 0 < p < 1 and nu > 0 (not necessarily
// an integer); NaN outside. Wilson and Hilferty's (1931) normal
// approximation starts Newton's method on P(nu/2, x/2) - p, which then
// converges to a relative 1e-12 or better.
double chiSquareQuantile(double p, double nu);
