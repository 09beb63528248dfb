// Result parameters as text a user can copy: "label<TAB>value" lines.
#pragma once

#include <string>

// "%.6g", or "-" when the value is not finite (not computed).
std::string parameterNumber(double value);
std::string parameterLine(const std::string& label, double value);
