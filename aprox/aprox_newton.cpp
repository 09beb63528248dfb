#include "aprox/aprox_newton.h"

#include <cmath>

#include "numeric/numeric.h"

namespace {

int perComponent(bool damped) {
    return damped ? 4 : 3;
}

template <bool DAMPED> void accumulate(const AproxParams& p, const AproxModel& m, NewtonSystem& s) {
    constexpr int PER = DAMPED ? 4 : 3;
    const int32_t K = m.count;
    NormalEquations& eq = s.equations;
    double zr[MAX_COMPONENTS], zi[MAX_COMPONENTS];
    for (int32_t k = 0; k < K; ++k) {
        zr[k] = 1.0;
        zi[k] = 0.0;
        s.curvature[k] = Curvature{0.0, 0.0, 0.0, 0.0};
    }
    for (int32_t n = 0; n < p.count; ++n) {
        const double t = double(n);
        double r = m.level;
        for (int32_t k = 0; k < K; ++k)
            r += m.a[k] * zr[k] + m.d[k] * zi[k];
        r -= sourceValue(p, n);

        double* j = eq.row();
        const double rt = r * t;
        for (int32_t k = 0; k < K; ++k) {
            const double R = zr[k], I = zi[k];
            const double u = t * (m.a[k] * I - m.d[k] * R);
            const double v = t * (m.a[k] * R + m.d[k] * I);
            double* jk = j + PER * k;
            jk[0] = R;
            jk[1] = I;
            jk[2] = -u;
            if (DAMPED) jk[3] = -v;
            Curvature& c = s.curvature[k];
            c.rnR += rt * R;
            c.rnI += rt * I;
            c.rnU += rt * u;
            c.rnV += rt * v;
        }
        j[PER * K] = 1.0;
        eq.commit(r);

        for (int32_t k = 0; k < K; ++k) {
            double re = zr[k] * m.q_re[k] - zi[k] * m.q_im[k];
            zi[k] = zr[k] * m.q_im[k] + zi[k] * m.q_re[k];
            zr[k] = re;
        }
    }
    eq.complete();
}

void addSymmetric(double* H, int order, int i, int j, double value) {
    H[i * order + j] += value;
    if (i != j) H[j * order + i] += value;
}

} // namespace

int newtonOrder(int32_t components, bool damped) {
    return perComponent(damped) * components + 1;
}

void addCurvature(NewtonSystem& s, int32_t K, bool damped) {
    const int order = s.equations.order();
    const int per = perComponent(damped);
    double* H = s.equations.matrix();
    for (int32_t k = 0; k < K; ++k) {
        const Curvature& c = s.curvature[k];
        const int A = per * k, D = A + 1, theta = A + 2, delta = A + 3;
        addSymmetric(H, order, A, theta, -c.rnI);
        addSymmetric(H, order, D, theta, c.rnR);
        addSymmetric(H, order, theta, theta, -c.rnV);
        if (!damped) continue;
        addSymmetric(H, order, A, delta, -c.rnR);
        addSymmetric(H, order, D, delta, -c.rnI);
        addSymmetric(H, order, theta, delta, c.rnU);
        addSymmetric(H, order, delta, delta, c.rnV);
    }
}

void accumulateNewton(const AproxParams& p, const AproxModel& m, bool damped, NewtonSystem& s) {
    s.equations.reset(newtonOrder(m.count, damped));
    if (damped)
        accumulate<true>(p, m, s);
    else
        accumulate<false>(p, m, s);
}

bool solveNewton(NewtonSystem& s, int32_t components, bool damped, double* step) {
    NormalEquations& eq = s.equations;
    const int order = eq.order();
    // The curvature terms belong to the system even where j j^T alone lacks
    // rank: from A = D = 0 the frequency enters only through them. Only the
    // solver's own report (a zero pivot, values that are not finite) stops.
    addCurvature(s, components, damped);
    vec_copy(order, step, eq.rhs());
    return solveSystem(order, eq.matrix(), step);
}

bool newtonStep(const AproxParams& p, const AproxModel& m, bool damped, NewtonSystem& s,
                double* step) {
    accumulateNewton(p, m, damped, s);
    return solveNewton(s, m.count, damped, step);
}

void applyNewtonStep(AproxModel& m, bool damped, const double* step) {
    const int per = perComponent(damped);
    for (int32_t k = 0; k < m.count; ++k) {
        const double* sk = step + per * k;
        m.a[k] -= sk[0];
        m.d[k] -= sk[1];
        m.theta[k] -= sk[2];
        if (damped) m.delta[k] -= sk[3];
    }
    m.level -= step[per * m.count];
    updateFactors(m);
}

double largestStep(int order, const double* step) {
    double largest = 0.0;
    for (int i = 0; i < order; ++i)
        largest = std::fmax(largest, std::fabs(step[i]));
    return largest;
}
