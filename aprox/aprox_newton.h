// One Newton step of an approximation on the sum of squared residuals, with
// the exact Hessian. Unknowns per component A, D, theta and, with damping,
// delta (both per sample); the level last.
#pragma once

#include "aprox/aprox_model.h"
#include "aprox/normal_equations.h"

// The sums of the residual-weighted second derivatives of one component:
// sum r n R, sum r n I, sum r n u and sum r n v, where u = n (A I - D R) and
// v = n (A R + D I).
struct Curvature {
    double rnR, rnI, rnU, rnV;
};

struct NewtonSystem {
    NormalEquations equations; // gradient and the j j^T part of the Hessian
    Curvature curvature[MAX_COMPONENTS];
};

int newtonOrder(int32_t components, bool damped);

// Sums the gradient and the Hessian over the analysed samples for the model
// `m` (factors current).
void accumulateNewton(const AproxParams& p, const AproxModel& m, bool damped, NewtonSystem& s);

// Adds the residual-weighted second derivatives (within each component) to
// the completed j j^T sums, making them the exact Hessian of sum r^2 / 2.
void addCurvature(NewtonSystem& s, int32_t components, bool damped);

// Solves H step = g for the sums of accumulateNewton. False when the solver
// finds the exact Hessian singular (a zero pivot) or the solution not finite.
// `step` holds newtonOrder(...) values.
bool solveNewton(NewtonSystem& s, int32_t components, bool damped, double* step);

// Both of the above: the step from the model `m`.
bool newtonStep(const AproxParams& p, const AproxModel& m, bool damped, NewtonSystem& s,
                double* step);

// m = m - step, factors updated.
void applyNewtonStep(AproxModel& m, bool damped, const double* step);

// The largest |step_j| over all unknowns.
double largestStep(int order, const double* step);
