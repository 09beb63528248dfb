#include "generator/envelope_chain.h"

#include <cmath>
#include <cstdlib>

#include "numeric/numeric.h"

NumericBlock::~NumericBlock() {
    std::free(data_);
}

void NumericBlock::reset(double* data) {
    std::free(data_);
    data_ = data;
}

namespace {

bool allFinite(int count, const double* v) {
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

} // namespace

std::string EnvelopeChain::build(int n, double b, double dt) {
    n_ = 0;
    if (n < 1 || n > SOLVE_MAX_ORDER) return "the degree is outside what the chain can take";
    b_ = b;
    o_.reset(mat_poisson(n, dt, b));
    M_.reset(mat_binomial_diff(n, b));
    bump_.reset(vec_alloc(n));
    plateau_.reset(vec_alloc(n));
    scratch_.reset(vec_alloc(n));
    if (!o_ || !M_ || !bump_ || !plateau_ || !scratch_) return "not enough memory";
    if (!allFinite(n * n, o_.get()) || !allFinite(n * n, M_.get()))
        return "the rise factor and degree give an envelope chain out of range";
    n_ = n;
    std::string reason = solveStart(n - 1, bump_);
    if (reason.empty()) reason = solveStart(0, plateau_);
    if (!reason.empty()) n_ = 0;
    return reason;
}

// Solves M y = e(row) on a copy of M, which the solver destroys.
std::string EnvelopeChain::solveStart(int row, NumericBlock& state) {
    NumericBlock work(mat_alloc(n_));
    if (!work) return "not enough memory";
    mat_copy(n_, work.get(), M_.get());
    vec_zero(n_, state.get());
    state.get()[row] = 1.0;
    if (mat_solve(n_, work.get(), state.get()) == 0.0)
        return "the envelope chain cannot be solved for this rise factor and degree";
    return "";
}

void EnvelopeChain::step(double* y) const {
    mat_mul_vec(n_, scratch_.get(), o_.get(), y);
    vec_copy(n_, y, scratch_.get());
}

double EnvelopeChain::rate(const double* y) const {
    double previous = n_ >= 2 ? y[n_ - 2] : 0.0;
    return b_ * (previous - y[n_ - 1]);
}
