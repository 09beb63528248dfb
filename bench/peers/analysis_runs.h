// The analyses as the program runs them on a measurement in memory (result
// measurement, finite check and all), timed for the Python rows of the peer
// benchmark: Python's own calls do the same work behind its binding.
#pragma once

#include <string>
#include <vector>

// Wall milliseconds, the best of 3 after a first run, of the analysis `name`
// (fourier, fourier-onesided, spectrum, stats, waves, reflection, kalman,
// aprox) on `n` samples; `k` components for kalman and aprox. Negative for an
// unknown name or a failed run.
double analysisMilliseconds(const std::string& name, int32_t n, int k);
