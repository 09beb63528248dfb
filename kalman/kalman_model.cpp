#include "kalman/kalman_model.h"

#include <cmath>

#include "numeric/constants.h"

namespace {

bool isNumber(double v) {
    return std::isfinite(v);
}

// The stationary covariance of the three-level chain, in units of sigma^2.
constexpr double CHAIN3_P0[3][3] = {
    {8.0 / 3.0, 4.0 / 3.0, 2.0 / 3.0}, {4.0 / 3.0, 4.0 / 3.0, 1.0}, {2.0 / 3.0, 1.0, 1.0}};

ComponentTerms componentTerms(const KalmanParams& p, int k, double dt) {
    ComponentTerms t{};
    double f = p.frequency[k];
    double amp = p.amplitude[k];
    t.omega = 2.0 * PI * f;
    t.variance = amp > 0.0 ? 0.5 * amp * amp : 1.0;
    if (f == 0.0) t.variance *= 2.0;
    t.lambda = f == 0.0 ? (1.0 / p.constant_period) / p.k[k] : f / p.k[k];
    t.x = t.lambda * dt;
    t.rho = std::exp(-t.x);
    double d = p.direction < 0 ? -1.0 : 1.0;
    t.c = std::cos(t.omega * d * dt);
    t.s = std::sin(t.omega * d * dt);
    if (p.use_damp) {
        double decay = std::exp(-d * p.eta[k] * dt);
        t.c *= decay;
        t.s *= decay;
    }
    return t;
}

// Writes the h x h matrix `small` into block `b` (order m) at row and column `at`.
void place(double* b, int m, int at, const double* small, int h) {
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < h; ++j)
            b[(at + i) * m + at + j] = small[i * h + j];
}

void chainTransition(double rho, double x, double out[9]) {
    const double v[9] = {1.0, 0.0, 0.0, x, 1.0, 0.0, 0.5 * x * x, x, 1.0};
    for (int i = 0; i < 9; ++i)
        out[i] = rho * v[i];
}

void chainCovariance(double variance, double out[9]) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out[i * 3 + j] = variance * CHAIN3_P0[i][j];
}

void discreteBlocks(const ComponentTerms& t, double* F, double* P0, double* Q) {
    const double f[4] = {2.0 * t.rho, -t.rho * t.rho, 1.0, 0.0};
    const double off = t.variance / std::cosh(t.x);
    const double p[4] = {t.variance, off, off, t.variance};
    place(F, 4, 0, f, 2);
    place(F, 4, 2, f, 2);
    place(P0, 4, 0, p, 2);
    place(P0, 4, 2, p, 2);
    // 4 rho^2 sinh^2(x) equals (1 - rho^2)^2; expm1 keeps it exact for small x
    // and finite for large x, where sinh^2 would overflow.
    const double w = std::expm1(-2.0 * t.x);
    Q[0] = Q[2 * 4 + 2] = t.variance * w * w * std::tanh(t.x);
}

void onceDifferentiableBlocks(const ComponentTerms& t, double* F, double* P0) {
    const double f[4] = {t.rho, 0.0, t.x * t.rho, t.rho};
    const double p[4] = {2.0 * t.variance, t.variance, t.variance, t.variance};
    place(F, 4, 0, f, 2);
    place(F, 4, 2, f, 2);
    place(P0, 4, 0, p, 2);
    place(P0, 4, 2, p, 2);
}

void twiceDifferentiableBlocks(const ComponentTerms& t, double* F, double* P0) {
    double f[9], p[9];
    chainTransition(t.rho, t.x, f);
    chainCovariance(t.variance, p);
    place(F, 6, 0, f, 3);
    place(F, 6, 3, f, 3);
    place(P0, 6, 0, p, 3);
    place(P0, 6, 3, p, 3);
}

// Each chain entry e becomes e * rotation(c, s) for F and e * identity for P0.
void quickBlocks(const ComponentTerms& t, double c, double s, double* F, double* P0) {
    double f[9], p[9];
    chainTransition(t.rho, t.x, f);
    chainCovariance(t.variance, p);
    const double rot[4] = {c, s, -s, c};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int a = 0; a < 2; ++a)
                for (int b = 0; b < 2; ++b) {
                    F[(2 * i + a) * 6 + 2 * j + b] = f[i * 3 + j] * rot[a * 2 + b];
                    P0[(2 * i + a) * 6 + 2 * j + b] = a == b ? p[i * 3 + j] : 0.0;
                }
}

// Q = P0 - F P0 F^T: the noise that keeps P0 stationary.
void stationaryNoise(int m, const double* F, const double* P0, double* Q) {
    double T[KALMAN_MAX_BLOCK * KALMAN_MAX_BLOCK] = {};
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j) {
            double sum = 0.0;
            for (int l = 0; l < m; ++l)
                sum += F[i * m + l] * P0[l * m + j];
            T[i * m + j] = sum;
        }
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j) {
            double sum = 0.0;
            for (int l = 0; l < m; ++l)
                sum += T[i * m + l] * F[j * m + l];
            Q[i * m + j] = P0[i * m + j] - sum;
        }
}

// With a growing carrier no noise keeps P0 stationary: P0 - F P0 F^T is
// indefinite and the filter would diverge. The noise of the undamped chain is
// used instead, so the state grows with the carrier as the signal does.
void quickGrowingNoise(const ComponentTerms& t, double* Q) {
    double F[36] = {}, P0[36] = {};
    const double r = std::hypot(t.c, t.s);
    quickBlocks(t, t.c / r, t.s / r, F, P0);
    stationaryNoise(6, F, P0, Q);
}

// A damped carrier run against its decay (backward with eta > 0, forward with
// eta < 0) grows from sample to sample.
bool carrierGrows(const KalmanParams& p, int k) {
    const double d = p.direction < 0 ? -1.0 : 1.0;
    return p.use_damp && d * p.eta[k] < 0.0;
}

void setPositions(KalmanModel& model) {
    static const int32_t positions[KALMAN_MODEL_COUNT][4] = {
        {0, 2, 1, 3}, {1, 3, 0, 2}, {2, 5, 1, 4}, {4, 5, 2, 3}};
    const int32_t* p = positions[model.model];
    model.observedA = p[0];
    model.observedB = p[1];
    model.companionA = p[2];
    model.companionB = p[3];
}

} // namespace

const char* kalmanInputProblem(const KalmanParams& p) {
    if (p.component_count < 0 || p.component_count > MAX_COMPONENTS)
        return "the component count must be 0 to 10";
    if (p.model < 0 || p.model >= KALMAN_MODEL_COUNT) return "the model must be 0 to 3";
    if (!isNumber(p.sample_rate) || p.sample_rate <= 0.0)
        return "the sampling rate is not positive";
    if (!isNumber(p.observation_error) || p.observation_error < 0.0)
        return "the observation error must be a number of at least 0";
    if (!isNumber(p.asymptotic)) return "the asymptotic threshold is not a number";
    for (int k = 0; k < p.component_count; ++k) {
        if (!isNumber(p.frequency[k]) || p.frequency[k] < 0.0)
            return "a component frequency is negative or not a number";
        if (!isNumber(p.k[k]) || p.k[k] <= 0.0) return "a component's K is not positive";
        if (!isNumber(p.amplitude[k]) || !isNumber(p.eta[k]))
            return "a component amplitude or eta is not a number";
        if (p.frequency[k] == 0.0 && (!isNumber(p.constant_period) || p.constant_period <= 0.0))
            return "the constant period is not positive";
    }
    return nullptr;
}

void buildKalmanModel(const KalmanParams& p, KalmanModel& model) {
    model = KalmanModel{};
    model.model = p.model;
    model.m = p.model < 2 ? 4 : 6;
    model.n = p.component_count;
    model.N = model.m * model.n;
    model.dt = 1.0 / p.sample_rate;
    model.rotatesObservation = p.model != 3;
    setPositions(model);
    for (int k = 0; k < model.n; ++k) {
        ComponentTerms& t = model.terms[k];
        t = componentTerms(p, k, model.dt);
        model.varianceSum += t.variance;
        switch (p.model) {
        case 0:
            discreteBlocks(t, model.F[k], model.P0[k], model.Q[k]);
            break;
        case 1:
            onceDifferentiableBlocks(t, model.F[k], model.P0[k]);
            break;
        case 2:
            twiceDifferentiableBlocks(t, model.F[k], model.P0[k]);
            break;
        default:
            quickBlocks(t, t.c, t.s, model.F[k], model.P0[k]);
            break;
        }
        if (p.model == 3 && carrierGrows(p, k))
            quickGrowingNoise(t, model.Q[k]);
        else if (p.model != 0)
            stationaryNoise(model.m, model.F[k], model.P0[k], model.Q[k]);
    }
    model.R = (p.observation_error / 100.0) * model.varianceSum;
}

ComponentOutput componentOutput(const KalmanModel& model, int k, const double* block, double ha,
                                double hb) {
    const ComponentTerms& t = model.terms[k];
    const double a = block[model.observedA], b = block[model.observedB];
    const double ua = block[model.companionA], ub = block[model.companionB];
    // Rates of the in-phase and quadrature amplitudes in the rotating frame.
    const double rateA = t.lambda * (ua - a) + t.omega * b;
    const double rateB = t.lambda * (ub - b) - t.omega * a;
    return ComponentOutput{ha * a + hb * b, ha * b - hb * a, ha * rateA + hb * rateB,
                           ha * rateB - hb * rateA};
}
