// ln |Gamma(x)|, safe to call from several threads at once: std::lgamma
// writes the sign of Gamma into the global signgam, a data race when the
// analyses of several files run side by side.
#pragma once

double logGamma(double x);
