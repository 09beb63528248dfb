#include "aprox/aprox_linear_fit.h"

namespace {

void accumulate(const AproxParams& p, const AproxModel& m, NormalEquations& eq) {
    const int32_t K = m.count;
    double zr[MAX_COMPONENTS], zi[MAX_COMPONENTS];
    for (int32_t k = 0; k < K; ++k) {
        zr[k] = 1.0;
        zi[k] = 0.0;
    }
    for (int32_t n = 0; n < p.count; ++n) {
        double* b = eq.row();
        for (int32_t k = 0; k < K; ++k) {
            b[2 * k] = zr[k];
            b[2 * k + 1] = zi[k];
        }
        b[2 * K] = 1.0;
        eq.commit(sourceValue(p, n));
        for (int32_t k = 0; k < K; ++k) {
            double re = zr[k] * m.q_re[k] - zi[k] * m.q_im[k];
            zi[k] = zr[k] * m.q_im[k] + zi[k] * m.q_re[k];
            zr[k] = re;
        }
    }
    eq.complete();
}

} // namespace

bool linearFit(const AproxParams& p, AproxModel& m, NormalEquations& eq) {
    const int32_t K = m.count;
    eq.reset(2 * K + 1);
    accumulate(p, m, eq);
    // The solver's own test is absolute and lets equal columns through with
    // rounding noise as pivots, which would split one amplitude arbitrarily.
    if (!gramFullRank(eq.order(), eq.matrix())) return false;
    if (!solveSystem(eq.order(), eq.matrix(), eq.rhs())) return false;
    const double* u = eq.rhs();
    for (int32_t k = 0; k < K; ++k) {
        m.a[k] = u[2 * k];
        m.d[k] = u[2 * k + 1];
    }
    m.level = u[2 * K];
    return true;
}
