#include "waves/parameter_text.h"

#include <cmath>
#include <cstdio>

std::string parameterNumber(double value) {
    if (!std::isfinite(value)) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string parameterLine(const std::string& label, double value) {
    return label + "\t" + parameterNumber(value);
}
