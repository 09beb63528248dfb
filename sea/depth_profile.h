// Integrals over the depth of products of a wave's vertical profiles,
// cosh(k s) / cosh(k h) and sinh(k s) / cosh(k h) with s = z + h the height
// above the bottom, for complex k (progressive and evanescent modes alike).
// Each profile is split into exponentials whose sum is integrated in closed
// form, scaled so that nothing overflows in deep water (kh of hundreds).
#pragma once

#include <complex>
#include <initializer_list>

using Complex = std::complex<double>;

// One factor of a product: cosh or sinh of k s, divided by cosh(k h).
struct ProfileFactor {
    Complex k;
    bool sinh = false;
};

// Integral over s from `from` to `depth` of the product of the factors (at
// most 4), times (s - from) / (depth - from) when `linear` (a flap's shape
// above its hinge), else times 1.
Complex depthIntegral(std::initializer_list<ProfileFactor> factors, double depth, double from,
                      bool linear);

// cosh(k h) / (g k sinh(k h) - omega^2 cosh(k h)): the bound potential per
// unit of free-surface forcing, 1 / (g k tanh(k h) - omega^2), written so
// that it stays finite where cos(|k| h) of an evanescent pair is 0.
Complex boundResponse(Complex k, double omega2, double depth);
