// First-order wave-maker theory (Biesel 1951): the height H of the progressive
// wave a paddle makes for a sinusoidal stroke S at the still-water level.
// A paddle whose displacement is S s(z) / 2 with s(0) = 1 makes
//   H / S = 4 k sinh(kh) / (sinh 2kh + 2kh) * integral over -h..0 of s(z) cosh k(h + z) dz,
// (Dean & Dalrymple 1991, "Water Wave Mechanics for Engineers and
// Scientists", ch. 6; Hughes 1993, "Physical Models and Laboratory Techniques
// in Coastal Engineering", ch. 8). The wave's elevation at the paddle leads
// the displacement by a quarter period (it is in phase with the velocity).
#pragma once

enum class PaddleType { Piston, Flap };

struct Paddle {
    PaddleType type = PaddleType::Piston;
    // A flap's hinge in m above the bottom; 0 is a flap hinged at the bottom.
    double hinge = 0;
};

// H/S for wave number k (rad/m) in water of depth h (m). A flap hinged at
// height l moves as s(z) = (z + h - l) / (h - l) above its hinge, and a wall
// below it stays still, which gives
//   H / S = 4 sinh(kh) / (sinh 2kh + 2kh) * (sinh kh - (cosh kh - cosh kl) / (k (h - l)));
// at l = 0 this is the bottom-hinged flap. Written so that no term overflows
// in deep water; 0 for k = 0, NaN for a hinge not below the water.
double heightToStroke(const Paddle& paddle, double k, double depth);

// The same at a frequency in Hz, k from the linear dispersion relation.
double heightToStrokeAt(const Paddle& paddle, double frequency, double depth);
