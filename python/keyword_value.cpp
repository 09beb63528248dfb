#include "python/keyword_value.h"

namespace {

[[noreturn]] void wrongType(const py::handle& value, const char* keyword, const char* wanted) {
    throw py::type_error(std::string(keyword) + " must be " + wanted + ", not " +
                         std::string(py::str(py::type::handle_of(value).attr("__name__"))));
}

} // namespace

double keywordNumber(const py::handle& value, const char* keyword) {
    const py::object real = py::module_::import("numbers").attr("Real");
    if (PyBool_Check(value.ptr()) || !py::isinstance(value, real))
        wrongType(value, keyword, "a number");
    return py::float_(py::reinterpret_borrow<py::object>(value)).cast<double>();
}

std::string keywordText(const py::handle& value, const char* keyword) {
    if (!py::isinstance<py::str>(value)) wrongType(value, keyword, "text");
    return value.cast<std::string>();
}
