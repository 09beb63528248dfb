// The mathematical and physical constants the analyses, the view and the
// wave generator share, so that every part computes with the same digits.
#pragma once

constexpr double PI = 3.141592653589793;
constexpr double TWO_PI = 6.283185307179586;
static_assert(TWO_PI == 2 * PI, "TWO_PI is PI doubled, bit for bit");

// The acceleration of gravity the flume's wave theory takes [m/s^2].
constexpr double GRAVITY = 9.81;
