#include "generator/random_envelopes.h"

#include "numeric/numeric.h"

bool randomNoiseFactor(const EnvelopeChain& chain, double* factor) {
    const int n = chain.n();
    NumericBlock S(mat_binomial_prob(n, 1.0));
    if (!S) return false;
    mat_copy(n, factor, S.get());
    if (!mat_sub_qpqt(n, factor, chain.transition())) return false;
    mat_symmetrize(n, factor);
    // For a very slow chain rounding can leave Q barely indefinite; the factor
    // then has a zero column and stays finite, which is all the noise needs.
    mat_cholesky(n, factor);
    return true;
}

namespace {

// y = o y + L eps with fresh deviates eps.
void noisyStep(const EnvelopeChain& chain, const double* factor, NoiseSource& source, double* y,
               double* eps, double* kick) {
    const int n = chain.n();
    chain.step(y);
    vec_gauss_noise(eps, n, source);
    mat_mul_vec(n, kick, factor, eps);
    vec_add(n, y, kick);
}

void setRandom(const EnvelopeChain& chain, Envelopes& envelopes, int32_t j, const double* u,
               const double* p) {
    envelopes.set(j, chain.out(u), chain.out(p), chain.rate(u), chain.rate(p));
}

} // namespace

bool fillRandomEnvelopes(const EnvelopeChain& chain, const GeneratorLayout& layout,
                         NoiseSource& source, Envelopes& envelopes) {
    const int n = chain.n();
    NumericBlock factor(mat_alloc(n));
    NumericBlock top(vec_alloc(n));
    NumericBlock u(vec_alloc(n));
    NumericBlock p(vec_alloc(n));
    NumericBlock eps(vec_alloc(n));
    NumericBlock kick(vec_alloc(n));
    if (!factor || !top || !u || !p || !eps || !kick) return false;
    if (!randomNoiseFactor(chain, factor.get())) return false;

    // The level the rise aims at, as a plateau state.
    vec_copy(n, top.get(), chain.plateau());
    for (int i = 0; i < n; ++i)
        top.get()[i] *= RAYLEIGH_MEAN;

    // Rise: the quadrature envelope alone, deterministic. (The in-phase state
    // is cleared before the steady phase, so it need not run here.)
    envelopes.set(0, 0.0, 0.0, 0.0, 0.0);
    vec_copy(n, p.get(), top.get());
    for (int32_t j = 1; j <= layout.rise; ++j) {
        chain.step(p.get());
        envelopes.set(j, 0.0, RAYLEIGH_MEAN - chain.out(p.get()), 0.0, -chain.rate(p.get()));
    }

    // Steady: the in-phase state starts from rest, the quadrature state from the
    // level reached; both are driven by independent noise.
    vec_rsub(n, p.get(), top.get());
    vec_zero(n, u.get());
    const int32_t held = layout.rise + layout.steady;
    for (int32_t j = layout.rise + 1; j <= held; ++j) {
        noisyStep(chain, factor.get(), source, u.get(), eps.get(), kick.get());
        noisyStep(chain, factor.get(), source, p.get(), eps.get(), kick.get());
        setRandom(chain, envelopes, j, u.get(), p.get());
    }

    // Decay: the last random state dies away.
    for (int32_t j = held + 1; j <= held + layout.decay; ++j) {
        chain.step(u.get());
        chain.step(p.get());
        setRandom(chain, envelopes, j, u.get(), p.get());
    }
    return true;
}
