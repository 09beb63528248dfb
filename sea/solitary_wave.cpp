#include "sea/solitary_wave.h"

#include <cmath>

#include "numeric/constants.h"

double SolitaryWave::kappa() const {
    return std::sqrt(3 * height / (4 * depth * depth * depth));
}

double SolitaryWave::celerity() const {
    return std::sqrt(GRAVITY * (depth + height));
}

double SolitaryWave::stroke() const {
    return 2 * height / (kappa() * depth);
}

double SolitaryWave::motionSeconds() const {
    return 2 / (kappa() * celerity()) * (3.8 + height / depth);
}

void SolitaryWave::at(double t, double& displacement, double& velocity, double& elevation) const {
    const double k = kappa(), c = celerity(), half = height / (k * depth);
    // X = half tanh(k (c t - X)): the right side falls as X grows, so
    // Newton's method from X = 0 converges without overshooting far.
    double x = 0;
    for (int i = 0; i < 60; ++i) {
        const double th = std::tanh(k * (c * t - x));
        const double f = x - half * th;
        const double df = 1 + half * k * (1 - th * th);
        const double step = f / df;
        x -= step;
        if (std::abs(step) <= 1e-15 * (half + std::abs(x))) break;
    }
    const double sech = 1 / std::cosh(k * (c * t - x));
    elevation = height * sech * sech;
    displacement = x;
    velocity = c * elevation / (depth + elevation);
}

void solitaryDrive(const SolitaryWave& wave, double dt, size_t n, std::vector<double>& displacement,
                   std::vector<double>& velocity, std::vector<double>& elevation) {
    const double middle = wave.motionSeconds() / 2, start = wave.stroke() / 2;
    displacement.assign(n, 0.0);
    velocity.assign(n, 0.0);
    elevation.assign(n, 0.0);
    for (size_t i = 0; i < n; ++i) {
        double x, v, eta;
        wave.at(double(i) * dt - middle, x, v, eta);
        displacement[i] = x + start;
        velocity[i] = v;
        elevation[i] = eta;
    }
}
