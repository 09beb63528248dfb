// Text between Python and the byte fields of a measurement. Names (of the
// measurement, its channels and units, components) are Windows-1250 or UTF-8
// bytes: Python sees them as the desktop program shows them and stores typed
// names as it does. Paths are the system's bytes, as os.fsencode and
// os.fsdecode treat them.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace py = pybind11;

// A name field of `capacity` bytes (terminated or full) as text.
py::str nameText(const char* field, size_t capacity);
// Bytes that may hold names, such as a "Copy all" text, as text.
py::str displayStr(const std::string& bytes);
// The bytes the program keeps for a name typed in Python. ValueError naming
// `what` when a character has no Windows-1250 form.
std::string nameBytes(const py::handle& text, const char* what);

// A path field, or any bytes naming a file, as os.fsdecode gives it.
py::str pathText(const std::string& bytes);
// The bytes of a path argument: a str, bytes or an os.PathLike.
std::string pathBytes(const py::handle& path);
