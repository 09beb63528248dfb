// The critically damped chain of n states behind every envelope:
// y0' = -b y0, yi' = b (y(i-1) - yi), output y(n-1); the same chain as the
// Kalman wave models, so a generated envelope follows one of them.
#pragma once

#include <string>

// One block from vec_alloc or mat_alloc, released with it.
class NumericBlock {
  public:
    NumericBlock() = default;
    explicit NumericBlock(double* data) : data_(data) {}
    ~NumericBlock();
    NumericBlock(const NumericBlock&) = delete;
    NumericBlock& operator=(const NumericBlock&) = delete;

    void reset(double* data);
    double* get() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

  private:
    double* data_ = nullptr;
};

class EnvelopeChain {
  public:
    // Builds the transition over one time step dt (mat_poisson), the derivative
    // map M (mat_binomial_diff) and the two start states: the bump M^-1 e(n-1)
    // (output and its first n-2 derivatives 0, the next one 1) and the plateau
    // M^-1 e0 (output 1, derivatives 0). Returns an empty string, or the reason
    // the chain cannot be used (M singular for the solver, values not finite,
    // no memory); the chain is then unusable.
    std::string build(int n, double b, double dt);

    int n() const { return n_; }
    double b() const { return b_; }
    const double* transition() const { return o_.get(); }
    const double* bump() const { return bump_.get(); }
    const double* plateau() const { return plateau_.get(); }

    // y = o y: one time step.
    void step(double* y) const;
    // The output y(n-1).
    double out(const double* y) const { return y[n_ - 1]; }
    // The first time derivative of the output, b (y(n-2) - y(n-1)); the chain
    // of one state has y(-1) = 0.
    double rate(const double* y) const;

  private:
    std::string solveStart(int row, NumericBlock& state);

    int n_ = 0;
    double b_ = 0.0;
    NumericBlock o_;
    NumericBlock M_;
    NumericBlock bump_;
    NumericBlock plateau_;
    NumericBlock scratch_;
};
