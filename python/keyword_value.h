// Keyword arguments the module converts itself: a value of the wrong type
// is a TypeError naming the keyword, not pybind11's "Unable to cast".
#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace py = pybind11;

// A real number (a Python or numpy int or float, not a bool), as a double.
double keywordNumber(const py::handle& value, const char* keyword);
// A str.
std::string keywordText(const py::handle& value, const char* keyword);
