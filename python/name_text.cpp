#include "python/name_text.h"

#include <cstring>

#include "measure/text_encoding.h"

py::str nameText(const char* field, size_t capacity) {
    return displayStr(std::string(field, strnlen(field, capacity)));
}

py::str displayStr(const std::string& bytes) {
    // displayText reads up to the first NUL; the fields hold none before their end.
    return py::str(displayText(bytes.c_str()));
}

std::string nameBytes(const py::handle& text, const char* what) {
    std::string bytes;
    if (!toFileEncoding(std::string(py::str(text)), bytes))
        throw py::value_error(std::string(what) +
                              " holds a character that has no Windows-1250 form, which "
                              "measurement files keep names in");
    return bytes;
}

py::str pathText(const std::string& bytes) {
    PyObject* text = PyUnicode_DecodeFSDefaultAndSize(bytes.data(), py::ssize_t(bytes.size()));
    if (!text) throw py::error_already_set();
    return py::reinterpret_steal<py::str>(text);
}

std::string pathBytes(const py::handle& path) {
    return py::module_::import("os").attr("fsencode")(path).cast<std::string>();
}
