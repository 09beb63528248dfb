#include "waves/detrend.h"

#include <numeric>

const char* detrendName(Detrend d) {
    switch (d) {
    case Detrend::None:
        return "none";
    case Detrend::Mean:
        return "mean";
    case Detrend::Linear:
        return "linear";
    }
    return "";
}

bool detrendFromName(const std::string& name, Detrend& out) {
    for (Detrend d : {Detrend::None, Detrend::Mean, Detrend::Linear})
        if (name == detrendName(d)) {
            out = d;
            return true;
        }
    return false;
}

void detrendValues(std::vector<double>& values, Detrend d) {
    const size_t n = values.size();
    if (d == Detrend::None || n == 0) return;
    const double mean = std::accumulate(values.begin(), values.end(), 0.0) / double(n);
    // The line's slope about the middle sample, where it is uncorrelated
    // with the mean: b = sum (i - c) x_i / sum (i - c)^2.
    double slope = 0;
    const double centre = 0.5 * double(n - 1);
    if (d == Detrend::Linear && n > 1) {
        double sxy = 0, sxx = 0;
        for (size_t i = 0; i < n; ++i) {
            double t = double(i) - centre;
            sxy += t * values[i];
            sxx += t * t;
        }
        slope = sxy / sxx;
    }
    for (size_t i = 0; i < n; ++i)
        values[i] -= mean + slope * (double(i) - centre);
}

double detrendedPower(const std::vector<double>& detrended) {
    if (detrended.empty()) return 0;
    double sum = 0;
    for (double v : detrended)
        sum += v * v;
    return sum / double(detrended.size());
}
