// A solitary wave from a piston by Goring's (1978) method: the paddle moves
// with the water under the wave, dX/dt = c eta(X, t) / (h + eta(X, t)),
// eta = H sech^2(kappa (c t - X)), kappa = sqrt(3 H / (4 h^3)),
// c = sqrt(g (h + H)). The trajectory solves X = (H / (kappa h))
// tanh(kappa (c t - X)) exactly, so it is found by Newton's method at each
// sample rather than integrated.
#pragma once

#include <cstddef>
#include <vector>

// Above this share of the depth a solitary wave breaks (McCowan's 0.78 is
// its theoretical limit; Goring's generation is reliable below about 0.6).
constexpr double SOLITARY_MAX_HEIGHT_RATIO = 0.6;

struct SolitaryWave {
    double height = 0; // H, m
    double depth = 0;  // h, m
    double kappa() const;
    double celerity() const;
    // The paddle's stroke, 2 H / (kappa h).
    double stroke() const;
    // The time the paddle moves: (2 / (kappa c)) (3.8 + H / h), Goring's
    // length of the wave that holds all but a thousandth of it.
    double motionSeconds() const;
    // The paddle at time t from the wave's middle (0 at the crest), m from
    // the middle of its stroke, and its velocity (m/s) and the elevation
    // at its face (m).
    void at(double t, double& displacement, double& velocity, double& elevation) const;
};

// The drive of `n` samples dt apart: the motion from rest at 0 to rest at
// the full stroke, its middle at motionSeconds() / 2, settling after that.
void solitaryDrive(const SolitaryWave& wave, double dt, size_t n, std::vector<double>& displacement,
                   std::vector<double>& velocity, std::vector<double>& elevation);
