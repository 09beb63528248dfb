#include "kalman/kalman_filter.h"

#include <cmath>

#include "numeric/numeric.h"

KalmanBlockFilter::KalmanBlockFilter(const KalmanModel& model, double asymptotic)
    : model_(model), asymptotic_(asymptotic), P_(mat_alloc(model.N)), Pm_(mat_alloc(model.N)),
      x_(vec_alloc(model.N)), xm_(vec_alloc(model.N)), g_(vec_alloc(model.N)),
      K_(vec_alloc(model.N)) {
    if (!valid()) return;
    const int N = model.N, m = model.m;
    mat_zero(N, P_.get());
    for (int k = 0; k < model.n; ++k)
        for (int r = 0; r < m; ++r)
            for (int c = 0; c < m; ++c)
                P_[(k * m + r) * N + k * m + c] = model.P0[k][r * m + c];
    vec_zero(N, x_.get());
    vec_zero(N, K_.get());
    for (int k = 0; k < model.n; ++k) {
        ha_[k] = 1.0; // cos 0
        hb_[k] = 0.0; // sin 0
    }
}

bool KalmanBlockFilter::valid() const {
    return P_ && Pm_ && x_ && xm_ && g_ && K_;
}

void KalmanBlockFilter::predictState() {
    const int m = model_.m;
    for (int k = 0; k < model_.n; ++k) {
        const double* F = model_.F[k];
        const double* x = x_.get() + k * m;
        double* xm = xm_.get() + k * m;
        for (int r = 0; r < m; ++r) {
            double sum = 0.0;
            for (int c = 0; c < m; ++c)
                sum += F[r * m + c] * x[c];
            xm[r] = sum;
        }
    }
}

// Pm(i,j) = F_i P(i,j) F_j^T (+ Q_i on the diagonal) for the blocks i <= j.
// M is the block order, fixed at compile time so the small products unroll.
template <int M> void KalmanBlockFilter::predictCovariance() {
    const int n = model_.n, N = model_.N;
    const double* P = P_.get();
    double* Pm = Pm_.get();
    for (int i = 0; i < n; ++i) {
        const double* Fi = model_.F[i];
        for (int j = i; j < n; ++j) {
            const double* Fj = model_.F[j];
            const double* Pij = P + (i * M) * N + j * M;
            double T[M * M];
            for (int r = 0; r < M; ++r)
                for (int c = 0; c < M; ++c) {
                    double sum = 0.0;
                    for (int l = 0; l < M; ++l)
                        sum += Fi[r * M + l] * Pij[l * N + c];
                    T[r * M + c] = sum;
                }
            double* out = Pm + (i * M) * N + j * M;
            const double* Q = i == j ? model_.Q[i] : nullptr;
            for (int r = 0; r < M; ++r)
                for (int c = 0; c < M; ++c) {
                    double sum = Q ? Q[r * M + c] : 0.0;
                    for (int l = 0; l < M; ++l)
                        sum += T[r * M + l] * Fj[c * M + l];
                    out[r * N + c] = sum;
                }
        }
    }
    mirrorBlocks(Pm);
}

// Copies the upper triangle onto the lower one; the diagonal blocks are
// computed whole, so their lower halves are overwritten with the mirror too.
void KalmanBlockFilter::mirrorBlocks(double* A) {
    const int N = model_.N;
    for (int r = 0; r < N; ++r)
        for (int c = r + 1; c < N; ++c)
            A[c * N + r] = A[r * N + c];
}

// g = Pm h, read along rows since Pm is symmetric; then K = g / S.
void KalmanBlockFilter::computeGain() {
    const int N = model_.N, m = model_.m;
    double* g = g_.get();
    const double* Pm = Pm_.get();
    vec_zero(N, g);
    for (int k = 0; k < model_.n; ++k) {
        const double* rowA = Pm + (k * m + model_.observedA) * N;
        const double* rowB = Pm + (k * m + model_.observedB) * N;
        const double ha = ha_[k], hb = hb_[k];
        if (hb == 0.0) {
            for (int c = 0; c < N; ++c)
                g[c] += ha * rowA[c];
        } else {
            for (int c = 0; c < N; ++c)
                g[c] += ha * rowA[c] + hb * rowB[c];
        }
    }
    const double S = model_.R + observe(g);
    // A non-positive innovation variance (no observation noise and a
    // degenerate covariance) would make the gain infinite: skip the correction.
    const bool usable = S > 0.0 && std::isfinite(S);
    for (int c = 0; c < N; ++c)
        K_[c] = usable ? g[c] / S : 0.0;
}

// P = Pm - K g^T on and above the diagonal, mirrored below. Model 3 also
// measures how far P moved, to freeze the gain once it has settled.
void KalmanBlockFilter::updateCovariance() {
    const int N = model_.N;
    double* P = P_.get();
    const double* Pm = Pm_.get();
    const double* K = K_.get();
    const double* g = g_.get();
    double largest = 0.0;
    for (int r = 0; r < N; ++r) {
        const double kr = K[r];
        double* row = P + r * N;
        const double* rowm = Pm + r * N;
        for (int c = r; c < N; ++c) {
            const double v = rowm[c] - kr * g[c];
            largest = std::fmax(largest, std::fabs(v - row[c]));
            row[c] = v;
        }
    }
    mirrorBlocks(P);
    if (model_.model == 3 && largest < asymptotic_) converging_ = false;
}

double KalmanBlockFilter::observe(const double* v) const {
    const int m = model_.m;
    double sum = 0.0;
    for (int k = 0; k < model_.n; ++k)
        sum += ha_[k] * v[k * m + model_.observedA] + hb_[k] * v[k * m + model_.observedB];
    return sum;
}

void KalmanBlockFilter::advanceCarrier() {
    if (!model_.rotatesObservation) return;
    for (int k = 0; k < model_.n; ++k) {
        const double c = model_.terms[k].c, s = model_.terms[k].s;
        const double ha = ha_[k], hb = hb_[k];
        ha_[k] = c * ha - s * hb;
        hb_[k] = c * hb + s * ha;
    }
}

void KalmanBlockFilter::step(double z, ComponentOutput* out) {
    const int N = model_.N, m = model_.m;
    predictState();
    if (converging_) {
        if (m == 4)
            predictCovariance<4>();
        else
            predictCovariance<6>();
        computeGain();
        updateCovariance();
    }
    const double nu = z - observe(xm_.get());
    double* x = x_.get();
    for (int c = 0; c < N; ++c)
        x[c] = xm_[c] + nu * K_[c];
    for (int k = 0; k < model_.n; ++k)
        out[k] = componentOutput(model_, k, x + k * m, ha_[k], hb_[k]);
    advanceCarrier();
}

int KalmanWorker(WorkerParams& params) {
    return runKalman(static_cast<KalmanParams&>(params), KalmanFilterKind::Block);
}
