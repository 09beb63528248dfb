#include "sea/second_order_pair.h"

#include <algorithm>
#include <cmath>

#include "numeric/constants.h"
#include "sea/depth_profile.h"
#include "sea/wave_modes.h"
#include "waves/wave_number.h"

namespace {

// Where the paddle's shape f(s) is not 0, and whether it is linear there:
// a piston moves the whole depth alike, a flap as (s - hinge) / (h - hinge).
struct PaddleShape {
    double from;
    bool linear;
};

PaddleShape shapeOf(const Paddle& paddle) {
    return paddle.type == PaddleType::Flap ? PaddleShape{paddle.hinge, true}
                                           : PaddleShape{0, false};
}

// int W C_K over the depth for the products of a's stroke with b's modes:
// (1/2) X_a sum_l P_bl (k_bl^2 int f C_bl C_K + int f' C'_bl C_K).
Complex paddleProducts(const PaddleWave& a, const PaddleWave& b, Complex bigK, const Paddle& paddle,
                       double depth, size_t modes) {
    const PaddleShape shape = shapeOf(paddle);
    const double lever = depth - shape.from;
    Complex sum = 0;
    for (size_t l = 0; l < modes; ++l) {
        const Complex k = b.k[l];
        Complex term = k * k * depthIntegral({{k}, {bigK}}, depth, shape.from, shape.linear);
        if (shape.linear)
            term += k / lever * depthIntegral({{k, true}, {bigK}}, depth, shape.from, false);
        sum += b.potential[l] * term;
    }
    return 0.5 * a.stroke * sum;
}

} // namespace

PaddleWave paddleWave(double omega, const Paddle& paddle, double depth, int evanescent) {
    PaddleWave w;
    w.omega = omega;
    w.k = waveModes(omega, depth, evanescent);
    if (w.k.empty()) return w;
    const PaddleShape shape = shapeOf(paddle);
    std::vector<Complex> moved(w.k.size()), norm(w.k.size());
    for (size_t j = 0; j < w.k.size(); ++j) {
        moved[j] = depthIntegral({{w.k[j]}}, depth, shape.from, shape.linear);
        norm[j] = depthIntegral({{w.k[j]}, {w.k[j]}}, depth, 0, false);
    }
    // The paddle condition phi_x = X_t f projected on each mode:
    // P_j (-i k_j) int C_j^2 = i omega X int f C_j; A = -(i omega / g) P_0.
    const Complex perStroke0 = -omega * moved[0] / (w.k[0] * norm[0]);
    w.stroke = 1.0 / (Complex(0, -omega / GRAVITY) * perStroke0);
    for (size_t j = 0; j < w.k.size(); ++j)
        w.potential.push_back(-omega * w.stroke * moved[j] / (w.k[j] * norm[j]));
    return w;
}

PaddleWave conjugate(const PaddleWave& wave) {
    PaddleWave c;
    c.omega = -wave.omega;
    c.stroke = std::conj(wave.stroke);
    for (size_t j = 0; j < wave.k.size(); ++j) {
        c.k.push_back(-std::conj(wave.k[j]));
        c.potential.push_back(std::conj(wave.potential[j]));
    }
    return c;
}

PairTransfer pairTransfer(const PaddleWave& a, const PaddleWave& b, const Paddle& paddle,
                          double depth) {
    const double g = GRAVITY;
    const double big = a.omega + b.omega, big2 = big * big;
    const Complex bigK = waveNumber(std::abs(big), depth);
    const double wa = a.omega, wb = b.omega, wa2 = wa * wa, wb2 = wb * wb;
    const Complex i(0, 1);
    PairTransfer t;
    // The evanescent series converges as 1/J (the paddle meets the free
    // surface in a corner): the sums to J/2 and to J modes are extrapolated
    // to J -> infinity (Richardson), good to about 1e-3 where J alone is 2 %
    // off.
    const size_t half = (std::min(a.k.size(), b.k.size()) + 1) / 2;
    Complex bound = 0, boundHalf = 0;
    for (size_t j = 0; j < a.k.size(); ++j) {
        for (size_t l = 0; l < b.k.size(); ++l) {
            const Complex ka = a.k[j], kb = b.k[l];
            const Complex pp = a.potential[j] * b.potential[l];
            // |grad phi1|^2's amplitude at the sum frequency, per P_a P_b.
            const Complex grad = wa2 * wb2 / (g * g) - ka * kb;
            // (1): the forcing at z = 0 of this pair of modes.
            const Complex forcing =
                pp * (-i * big * grad + i / (2 * g) *
                                            (wa * (g * kb * kb - wb2 * wb2 / g) +
                                             wb * (g * ka * ka - wa2 * wa2 / g)));
            const Complex kappa = ka + kb;
            const Complex b0 = forcing * boundResponse(kappa, big2, depth);
            const Complex term = i * kappa * b0 * depthIntegral({{kappa}, {bigK}}, depth, 0, false);
            bound += term;
            if (j < half && l < half) boundHalf += term;
            // (2) at x = 0 for the two progressive waves.
            if (j == 0 && l == 0)
                t.elevation = -i * big / g * b0 - pp * grad / (2 * g) -
                              wa * wb * (wa2 + wb2) / (2 * g * g * g) * pp;
        }
    }
    const PaddleShape shape = shapeOf(paddle);
    const Complex moved = depthIntegral({{bigK}}, depth, shape.from, shape.linear);
    const Complex products = paddleProducts(a, b, bigK, paddle, depth, b.k.size()) +
                             paddleProducts(b, a, bigK, paddle, depth, a.k.size());
    const Complex productsHalf = paddleProducts(a, b, bigK, paddle, depth, half) +
                                 paddleProducts(b, a, bigK, paddle, depth, half);
    // (4) solved for X2, with J and J/2 modes, and extrapolated.
    const Complex full = -(products + bound) / (i * big * moved);
    const Complex halfway = -(productsHalf + boundHalf) / (i * big * moved);
    t.stroke = half > 1 ? 2.0 * full - halfway : full;
    return t;
}
