// The test signal both sides of the peer benchmark compute, sample by sample,
// so that they work on the same numbers (bench_peers.py has its twin).
#pragma once

#include <cmath>
#include <cstdint>

// Two waves and a deterministic ripple, as a float.
inline float peerSignal(int32_t j) {
    double ripple = double((int64_t(j) * 7919) % 1000) / 1000.0 - 0.5;
    return float(std::sin(0.013 * j) + 0.4 * std::sin(0.0711 * j + 1.0) + 0.05 * ripple);
}

constexpr double PEER_FIT_RATE = 100.0;
inline double peerFitFrequency(int c) {
    return 0.35 + 0.45 * c;
}
inline double peerFitEta(int c) {
    return 0.002 * (c + 1);
}

// The Kalman rows: components at 50 Hz of amplitude 1/(c+1) and K = 8.
constexpr double PEER_KALMAN_RATE = 50.0;
inline double peerKalmanFrequency(int c) {
    return 0.1 + 0.2 * c;
}
