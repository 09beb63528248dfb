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
    compressTransition();
    for (int k = 0; k < model.n; ++k) {
        ha_[k] = 1.0; // cos 0
        hb_[k] = 0.0; // sin 0
    }
}

void KalmanBlockFilter::compressTransition() {
    const int m = model_.m;
    for (int k = 0; k < model_.n; ++k)
        for (int r = 0; r < m; ++r) {
            SparseBlock& b = sparseF_[k];
            b.count[r] = 0;
            for (int c = 0; c < m; ++c) {
                const double f = model_.F[k][r * m + c];
                if (f == 0.0) continue;
                b.column[r][b.count[r]] = c;
                b.value[r][b.count[r]++] = f;
            }
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
// M is the block order, fixed at compile time so the small loops unroll. Only
// the nonzeros of F enter (a third to a half of each block).
template <int M> void KalmanBlockFilter::predictCovariance() {
    const int n = model_.n, N = model_.N;
    const double* P = P_.get();
    double* Pm = Pm_.get();
    for (int i = 0; i < n; ++i) {
        const SparseBlock& Fi = sparseF_[i];
        for (int j = i; j < n; ++j) {
            const SparseBlock& Fj = sparseF_[j];
            const double* Pij = P + (i * M) * N + j * M;
            // T = F_i P(i,j), row by row from the rows of P(i,j).
            double T[M * M];
            for (int r = 0; r < M; ++r) {
                double row[M] = {};
                for (int e = 0; e < Fi.count[r]; ++e) {
                    const double f = Fi.value[r][e];
                    const double* p = Pij + Fi.column[r][e] * N;
                    for (int c = 0; c < M; ++c)
                        row[c] += f * p[c];
                }
                for (int c = 0; c < M; ++c)
                    T[r * M + c] = row[c];
            }
            // Pm(i,j) = T F_j^T: entry (r, c) is row r of T times row c of F_j.
            double* out = Pm + (i * M) * N + j * M;
            const double* Q = i == j ? model_.Q[i] : nullptr;
            for (int r = 0; r < M; ++r)
                for (int c = 0; c < M; ++c) {
                    double sum = Q ? Q[r * M + c] : 0.0;
                    for (int e = 0; e < Fj.count[c]; ++e)
                        sum += T[r * M + Fj.column[c][e]] * Fj.value[c][e];
                    out[r * N + c] = sum;
                }
        }
    }
    mirrorDiagonalBlocks(Pm);
}

// The diagonal blocks are kept whole: their upper triangle is copied onto the
// lower one, so each stays exactly symmetric.
void KalmanBlockFilter::mirrorDiagonalBlocks(double* A) {
    const int N = model_.N, m = model_.m;
    for (int k = 0; k < model_.n; ++k) {
        double* block = A + (k * m) * N + k * m;
        for (int r = 0; r < m; ++r)
            for (int c = r + 1; c < m; ++c)
                block[c * N + r] = block[r * N + c];
    }
}

// g += weight * column `o` of the symmetric Pm, from the stored blocks: above
// the block of o it is read down the column, from there on along row o.
void KalmanBlockFilter::addColumn(int o, double weight) {
    if (weight == 0.0) return;
    const int N = model_.N;
    const int start = o - o % model_.m;
    const double* Pm = Pm_.get();
    double* g = g_.get();
    for (int c = 0; c < start; ++c)
        g[c] += weight * Pm[c * N + o];
    const double* row = Pm + o * N;
    for (int c = start; c < N; ++c)
        g[c] += weight * row[c];
}

// g = Pm h; then K = g / S.
void KalmanBlockFilter::computeGain() {
    const int N = model_.N, m = model_.m;
    double* g = g_.get();
    vec_zero(N, g);
    for (int k = 0; k < model_.n; ++k) {
        addColumn(k * m + model_.observedA, ha_[k]);
        addColumn(k * m + model_.observedB, hb_[k]);
    }
    const double S = model_.R + observe(g);
    // A non-positive innovation variance (no observation noise and a
    // degenerate covariance) would make the gain infinite: skip the correction.
    const bool usable = S > 0.0 && std::isfinite(S);
    for (int c = 0; c < N; ++c)
        K_[c] = usable ? g[c] / S : 0.0;
}

// P = Pm - K g^T on and above the diagonal (mirrored inside the diagonal
// blocks). Model 3 also measures how far P moved, to freeze the gain once it
// has settled; by symmetry these are all the distinct elements.
void KalmanBlockFilter::updateCovariance() {
    const int N = model_.N;
    double* P = P_.get();
    const double* Pm = Pm_.get();
    const double* K = K_.get();
    const double* g = g_.get();
    const bool measure = model_.model == 3;
    double largest = 0.0;
    for (int r = 0; r < N; ++r) {
        const double kr = K[r];
        double* row = P + r * N;
        const double* rowm = Pm + r * N;
        if (measure) {
            for (int c = r; c < N; ++c) {
                const double v = rowm[c] - kr * g[c];
                const double moved = std::fabs(v - row[c]);
                largest = moved > largest ? moved : largest;
                row[c] = v;
            }
        } else {
            for (int c = r; c < N; ++c)
                row[c] = rowm[c] - kr * g[c];
        }
    }
    mirrorDiagonalBlocks(P);
    if (measure && largest < asymptotic_) converging_ = false;
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
