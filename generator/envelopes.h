// The four envelope arrays of a synthesis: in-phase v, quadrature w and their
// rates A and B, one entry per sample; entry 0 of each is 0.
#pragma once

#include <cstdint>

#include "generator/envelope_chain.h"
#include "generator/generator_layout.h"

class Envelopes {
  public:
    // Obtains four arrays of `count` doubles; false when memory runs out.
    bool allocate(int32_t count);

    int32_t count() const { return count_; }
    double* v() const { return v_.get(); }
    double* w() const { return w_.get(); }
    double* A() const { return A_.get(); }
    double* B() const { return B_.get(); }

    // Sets all four entries of sample j.
    void set(int32_t j, double v, double w, double A, double B) {
        v_.get()[j] = v;
        w_.get()[j] = w;
        A_.get()[j] = A;
        B_.get()[j] = B;
    }

  private:
    int32_t count_ = 0;
    NumericBlock v_;
    NumericBlock w_;
    NumericBlock A_;
    NumericBlock B_;
};

// Models 0, 1, 2, 3, 5, 6: w rises from 0 to 1 over the rise phase (n-1
// derivatives vanishing at the start), holds, and falls back over the decay;
// v and the xd part of w carry the chain's bump scaled by xa and xd.
// `envelopes` must hold layout.sampleCount entries. False when memory runs out.
bool fillDeterministicEnvelopes(const EnvelopeChain& chain, const GeneratorLayout& layout,
                                Envelopes& envelopes);
