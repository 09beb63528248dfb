// What is taken out of a block before it is analysed: nothing, its mean, or
// its least-squares straight line (a gauge drifting over the record).
#pragma once

#include <string>
#include <vector>

enum class Detrend { None, Mean, Linear };

// "none", "mean" or "linear".
const char* detrendName(Detrend d);
// The mode of a name detrendName gives; false for any other text.
bool detrendFromName(const std::string& name, Detrend& out);

// Subtracts from `values` (samples evenly spaced) what `d` takes out.
void detrendValues(std::vector<double>& values, Detrend d);

// The mean square of `values` after detrendValues: the variance of the block
// that an analysis under `d` sees.
double detrendedPower(const std::vector<double>& detrended);
