#include "aprox/aprox_model.h"

#include <cmath>

#include "numeric/constants.h"

namespace {

bool allFinite(const double* v, int32_t n) {
    for (int32_t i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

} // namespace

void updateFactors(AproxModel& m) {
    for (int32_t k = 0; k < m.count; ++k) {
        double decay = std::exp(-m.delta[k]);
        m.q_re[k] = decay * std::cos(m.theta[k]);
        m.q_im[k] = decay * std::sin(m.theta[k]);
    }
}

AproxModel modelFromParams(const AproxParams& p) {
    AproxModel m;
    m.count = p.component_count;
    const double dt = 1.0 / p.sample_rate;
    for (int32_t k = 0; k < m.count; ++k) {
        m.a[k] = p.a[k];
        m.d[k] = p.d[k];
        m.theta[k] = 2.0 * PI * p.frequency[k] * dt;
        m.delta[k] = p.use_eta ? p.eta[k] * dt : 0.0;
    }
    m.level = p.level;
    updateFactors(m);
    return m;
}

bool modelFinite(const AproxModel& m) {
    return allFinite(m.a, m.count) && allFinite(m.d, m.count) && allFinite(m.theta, m.count) &&
           allFinite(m.delta, m.count) && std::isfinite(m.level) && allFinite(m.q_re, m.count) &&
           allFinite(m.q_im, m.count);
}

void storeAmplitudes(const AproxModel& m, AproxParams& p) {
    for (int32_t k = 0; k < m.count; ++k) {
        p.a[k] = m.a[k];
        p.d[k] = m.d[k];
    }
    p.level = m.level;
}

void storeModel(const AproxModel& m, AproxParams& p) {
    storeAmplitudes(m, p);
    const double dt = 1.0 / p.sample_rate;
    for (int32_t k = 0; k < m.count; ++k) {
        p.frequency[k] = m.theta[k] / (2.0 * PI * dt);
        if (p.use_eta) p.eta[k] = m.delta[k] / dt;
    }
}

double outputPass(AproxParams& p, const AproxModel& m) {
    const int32_t K = m.count;
    double zr[MAX_COMPONENTS], zi[MAX_COMPONENTS];
    for (int32_t k = 0; k < K; ++k) {
        zr[k] = 1.0;
        zi[k] = 0.0;
    }
    p.done.store(0, std::memory_order_release);
    double squares = 0.0;
    Sample* row = p.result_samples;
    for (int32_t n = 0; n < p.count; ++n, row += K + 1) {
        double sum = 0.0;
        for (int32_t k = 0; k < K; ++k) {
            double value = m.a[k] * zr[k] + m.d[k] * zi[k];
            double quadrature = m.d[k] * zr[k] - m.a[k] * zi[k];
            row[k] = Sample{float(value), float(quadrature)};
            sum += value;
        }
        double rest = sourceValue(p, n) - sum - m.level;
        row[K] = Sample{float(rest), 0.0f};
        squares += rest * rest;
        for (int32_t k = 0; k < K; ++k) {
            double re = zr[k] * m.q_re[k] - zi[k] * m.q_im[k];
            zi[k] = zr[k] * m.q_im[k] + zi[k] * m.q_re[k];
            zr[k] = re;
        }
        p.done.store(n + 1, std::memory_order_release);
    }
    return squares;
}
