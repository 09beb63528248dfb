#include "kalman/kalman_dense_filter.h"

#include <cmath>

#include "numeric/numeric.h"

KalmanDenseFilter::KalmanDenseFilter(const KalmanModel& model, double asymptotic)
    : model_(model), asymptotic_(asymptotic), F_(mat_alloc(model.N)), P_(mat_alloc(model.N)),
      Pm_(mat_alloc(model.N)), Q_(mat_alloc(model.N)), T_(mat_alloc(model.N)),
      x_(vec_alloc(model.N)), xm_(vec_alloc(model.N)), g_(vec_alloc(model.N)),
      K_(vec_alloc(model.N)), h_(vec_alloc(model.N)) {
    if (valid()) assemble();
}

bool KalmanDenseFilter::valid() const {
    return F_ && P_ && Pm_ && Q_ && T_ && x_ && xm_ && g_ && K_ && h_;
}

void KalmanDenseFilter::assemble() {
    const int N = model_.N, m = model_.m;
    mat_zero(N, F_.get());
    mat_zero(N, P_.get());
    mat_zero(N, Q_.get());
    for (int k = 0; k < model_.n; ++k)
        for (int r = 0; r < m; ++r)
            for (int c = 0; c < m; ++c) {
                const int at = (k * m + r) * N + k * m + c;
                F_[at] = model_.F[k][r * m + c];
                P_[at] = model_.P0[k][r * m + c];
                Q_[at] = model_.Q[k][r * m + c];
            }
    vec_zero(N, x_.get());
    vec_zero(N, K_.get());
    vec_zero(N, h_.get());
    for (int k = 0; k < model_.n; ++k)
        h_[k * m + model_.observedA] = 1.0;
}

void KalmanDenseFilter::updateCovariance(double S) {
    const int N = model_.N;
    const bool usable = S > 0.0 && std::isfinite(S);
    for (int i = 0; i < N; ++i)
        K_[i] = usable ? g_[i] / S : 0.0;
    // T keeps the previous covariance for model 3's convergence test.
    mat_copy(N, T_.get(), P_.get());
    mat_copy(N, P_.get(), Pm_.get());
    mat_sub_outer(N, P_.get(), K_.get(), g_.get());
    if (model_.model != 3) return;
    double largest = 0.0;
    for (long i = 0; i < long(N) * N; ++i)
        largest = std::fmax(largest, std::fabs(P_[i] - T_[i]));
    if (largest < asymptotic_) converging_ = false;
}

void KalmanDenseFilter::outputs(ComponentOutput* out) const {
    const int m = model_.m;
    for (int k = 0; k < model_.n; ++k) {
        const double* x = x_.get() + k * m;
        const ComponentTerms& t = model_.terms[k];
        if (model_.model == 3) {
            const double s1 = x[2], q1 = x[3], s2 = x[4], q2 = x[5];
            out[k] = {s2, q2, t.omega * q2 + t.lambda * (s1 - s2),
                      t.lambda * (q1 - q2) - t.omega * s2};
            continue;
        }
        const double ha = h_[k * m + model_.observedA], hb = h_[k * m + model_.observedB];
        const double a = x[model_.observedA], b = x[model_.observedB];
        const double ua = x[model_.companionA], ub = x[model_.companionB];
        const double dA = t.lambda * (ua - a) + t.omega * b;
        const double dB = t.lambda * (ub - b) - t.omega * a;
        out[k] = {ha * a + hb * b, ha * b - hb * a, ha * dA + hb * dB, ha * dB - hb * dA};
    }
}

void KalmanDenseFilter::advanceCarrier() {
    if (model_.model == 3) return;
    const int m = model_.m;
    for (int k = 0; k < model_.n; ++k) {
        double& ha = h_[k * m + model_.observedA];
        double& hb = h_[k * m + model_.observedB];
        const double c = model_.terms[k].c, s = model_.terms[k].s;
        const double a = ha, b = hb;
        ha = c * a - s * b;
        hb = c * b + s * a;
    }
}

void KalmanDenseFilter::step(double z, ComponentOutput* out) {
    const int N = model_.N;
    mat_mul_vec(N, xm_.get(), F_.get(), x_.get());
    if (converging_) {
        mat_mul(N, T_.get(), F_.get(), P_.get());
        mat_copy(N, Pm_.get(), Q_.get());
        mat_add_mul_bt(N, Pm_.get(), T_.get(), F_.get());
        mat_mul_vec(N, g_.get(), Pm_.get(), h_.get());
        updateCovariance(model_.R + vec_dot(N, h_.get(), g_.get()));
    }
    const double nu = z - vec_dot(N, h_.get(), xm_.get());
    for (int i = 0; i < N; ++i)
        x_[i] = xm_[i] + nu * K_[i];
    outputs(out);
    advanceCarrier();
}

int KalmanDenseWorker(WorkerParams& params) {
    return runKalman(static_cast<KalmanParams&>(params), KalmanFilterKind::Dense);
}
