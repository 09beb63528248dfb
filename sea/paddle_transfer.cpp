#include "sea/paddle_transfer.h"

#include <cmath>

#include "numeric/constants.h"
#include "waves/wave_number.h"

namespace {

// Above this kh, cosh and sinh are replaced by exponentials with no loss.
constexpr double DEEP_KH = 20;

// 1 + 2kh / sinh 2kh: the denominator sinh 2kh + 2kh over sinh 2kh.
double energyFluxFactor(double kh) {
    return kh > DEEP_KH ? 1.0 : 1 + 2 * kh / std::sinh(2 * kh);
}

// 1 - cosh(kl) / cosh(kh), without cancellation for small k.
double oneMinusCoshRatio(double k, double depth, double hinge) {
    const double kh = k * depth;
    if (kh > DEEP_KH)
        return 1 - std::exp(k * (hinge - depth)) * (1 + std::exp(-2 * k * hinge)) /
                       (1 + std::exp(-2 * kh));
    return 2 * std::sinh(k * (depth + hinge) / 2) * std::sinh(k * (depth - hinge) / 2) /
           std::cosh(kh);
}

} // namespace

double heightToStroke(const Paddle& paddle, double k, double depth) {
    if (!(depth > 0) || !(k >= 0)) return NAN;
    if (k == 0) return 0;
    const double kh = k * depth;
    // sinh 2kh = 2 sinh kh cosh kh; both forms are divided by cosh^2 kh.
    const double tanhKh = std::tanh(kh);
    if (paddle.type == PaddleType::Piston) return 2 * tanhKh / energyFluxFactor(kh);
    const double hinge = paddle.hinge;
    if (!(hinge >= 0) || !(hinge < depth)) return NAN;
    const double arm = depth - hinge;
    return 2 * (tanhKh - oneMinusCoshRatio(k, depth, hinge) / (k * arm)) / energyFluxFactor(kh);
}

double heightToStrokeAt(const Paddle& paddle, double frequency, double depth) {
    return heightToStroke(paddle, waveNumber(2 * PI * frequency, depth), depth);
}
