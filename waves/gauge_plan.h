// Gauge positions for a reflection run: a layout of N gauges that keeps every
// frequency of a band separable into incident and reflected waves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GaugePlanRequest {
    double depth = 0;   // m
    double fmin = 0;    // Hz, > 0
    double fmax = 0;    // Hz, > fmin
    int32_t gauges = 0; // 2 .. MAX_REFLECTION_GAUGES
};

struct GaugePlan {
    std::vector<double> positions; // m, the first gauge at 0
    double worstCoherence = 0;     // the highest |S|/P over the band
    double worstFrequency = 0;     // Hz, where it is
    double lengthAtFmin = 0;       // m, wave lengths at the band's ends
    double lengthAtFmax = 0;
};

// The layout with the lowest worst coherence of those tried (spacings growing
// by a constant ratio, the array no longer than the longest wave), the
// shorter one of two nearly as good. False with `*error` (one line) for bad
// input or when no layout keeps the whole band below
// MAX_REFLECTION_COHERENCE.
bool planGauges(const GaugePlanRequest& request, GaugePlan& out, std::string* error);

std::vector<std::string> gaugePlanLines(const GaugePlan& plan);
