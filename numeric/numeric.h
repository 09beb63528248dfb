#pragma once

// Dense vector and matrix routines on doubles shared by the Kalman filter, the
// approximation and the wave generator. They keep no state of their own (the
// noise source aside, see noise.h) and may be called from several threads at
// once on disjoint data.

#include "numeric/chain_matrices.h"
#include "numeric/matrix.h"
#include "numeric/noise.h"
#include "numeric/polynomial.h"
#include "numeric/solve.h"
#include "numeric/vector.h"
