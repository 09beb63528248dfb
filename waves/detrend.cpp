#include "waves/detrend.h"

#include "numeric/lane_sum.h"

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

DetrendLine detrendLine(const std::vector<double>& values, Detrend d) {
    const size_t n = values.size();
    DetrendLine line;
    if (d == Detrend::None || n == 0) return line;
    const double* x = values.data();
    line.mean = laneSum(n, [x](size_t i) { return x[i]; }) / double(n);
    // The slope about the middle sample, where it is uncorrelated with the
    // mean: b = sum (i - c) x_i / sum (i - c)^2, the denominator n (n^2 - 1) / 12.
    line.centre = 0.5 * double(n - 1);
    if (d == Detrend::Linear && n > 1) {
        const double c = line.centre, dn = double(n);
        const double sxy = laneSum(n, [x, c](size_t i) { return (double(i) - c) * x[i]; });
        line.slope = sxy / (dn * (dn * dn - 1) / 12);
    }
    return line;
}

void detrendValues(std::vector<double>& values, Detrend d) {
    if (d == Detrend::None) return;
    const DetrendLine line = detrendLine(values, d);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] -= line.at(i);
}

double detrendedPower(const std::vector<double>& detrended) {
    return detrendedPower(detrended, DetrendLine{});
}

double detrendedPower(const std::vector<double>& values, const DetrendLine& line) {
    if (values.empty()) return 0;
    const double* x = values.data();
    return laneSum(values.size(),
                   [x, &line](size_t i) {
                       const double v = x[i] - line.at(i);
                       return v * v;
                   }) /
           double(values.size());
}
