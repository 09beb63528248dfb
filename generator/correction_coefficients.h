// Correction coefficients of the envelope: how much of the chain's bump state
// goes into the in-phase (xa) and quadrature (xd) envelopes of models 0 and 1.
#pragma once

// Formula A: xa = (b^n / (n w)) / (1 + (b / (n w))^2).
double correctionFormulaA(int n, double b, double omega);

// Formula B: xd = xa b / (w (n + 1)).
double correctionFormulaB(int n, double b, double omega, double xa);

// Formula C: xa = xd = 0.5 b^(n-1) (n + 1) / n.
double correctionFormulaC(int n, double b);
