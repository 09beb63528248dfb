#include "generator/envelopes.h"

#include "numeric/numeric.h"

bool Envelopes::allocate(int32_t count) {
    count_ = 0;
    v_.reset(vec_alloc(count));
    w_.reset(vec_alloc(count));
    A_.reset(vec_alloc(count));
    B_.reset(vec_alloc(count));
    if (!v_ || !w_ || !A_ || !B_) return false;
    count_ = count;
    return true;
}

bool fillDeterministicEnvelopes(const EnvelopeChain& chain, const GeneratorLayout& layout,
                                Envelopes& envelopes) {
    const int n = chain.n();
    NumericBlock u(vec_alloc(n));
    NumericBlock p(vec_alloc(n));
    if (!u || !p) return false;
    vec_copy(n, u.get(), chain.bump());
    vec_copy(n, p.get(), chain.plateau());
    const double xa = layout.xa;
    const double xd = layout.xd;
    envelopes.set(0, 0.0, 0.0, 0.0, 0.0);

    // Rise and steady: w is the complement of the plateau state's fall.
    const int32_t held = layout.rise + layout.steady;
    for (int32_t j = 1; j <= held; ++j) {
        chain.step(u.get());
        chain.step(p.get());
        double bump = chain.out(u.get());
        double bumpRate = chain.rate(u.get());
        envelopes.set(j, xa * bump, xd * bump + 1.0 - chain.out(p.get()), xa * bumpRate,
                      xd * bumpRate - chain.rate(p.get()));
    }

    // Decay: the complement state starts at the level reached and falls alike.
    vec_rsub(n, p.get(), chain.plateau());
    for (int32_t j = held + 1; j <= held + layout.decay; ++j) {
        chain.step(u.get());
        chain.step(p.get());
        double bump = chain.out(u.get());
        double bumpRate = chain.rate(u.get());
        envelopes.set(j, xa * bump, xd * bump + chain.out(p.get()), xa * bumpRate,
                      xd * bumpRate + chain.rate(p.get()));
    }
    return true;
}
