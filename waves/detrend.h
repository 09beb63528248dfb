// What is taken out of a block before it is analysed: nothing, its mean, or
// its least-squares straight line (a gauge drifting over the record).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class Detrend { None, Mean, Linear };

// "none", "mean" or "linear".
const char* detrendName(Detrend d);
// The mode of a name detrendName gives; false for any other text.
bool detrendFromName(const std::string& name, Detrend& out);

// What `d` takes out of samples evenly spaced: value i loses at(i).
struct DetrendLine {
    double mean = 0;
    double slope = 0;  // per sample
    double centre = 0; // the middle sample, where the line is at its mean
    double at(size_t i) const { return mean + slope * (double(i) - centre); }
};
DetrendLine detrendLine(const std::vector<double>& values, Detrend d);

// Subtracts from `values` (samples evenly spaced) what `d` takes out.
void detrendValues(std::vector<double>& values, Detrend d);

// The mean square of `values` after detrendValues: the variance of the block
// that an analysis under `d` sees.
double detrendedPower(const std::vector<double>& detrended);
// The same of `values` less `line`, without changing them.
double detrendedPower(const std::vector<double>& values, const DetrendLine& line);
