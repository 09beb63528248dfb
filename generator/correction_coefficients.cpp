#include "generator/correction_coefficients.h"

#include <cmath>

namespace {

// Powers through the logarithm, as the chain's rates are always positive.
double power(double b, int m) {
    return std::exp(m * std::log(b));
}

} // namespace

double correctionFormulaA(int n, double b, double omega) {
    double ratio = b / (n * omega);
    return (power(b, n) / (n * omega)) / (1.0 + ratio * ratio);
}

double correctionFormulaB(int n, double b, double omega, double xa) {
    return xa * b / (omega * (n + 1));
}

double correctionFormulaC(int n, double b) {
    return 0.5 * power(b, n - 1) * (n + 1) / n;
}
