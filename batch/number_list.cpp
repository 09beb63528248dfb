#include "batch/number_list.h"

#include <cerrno>
#include <cstdlib>

bool numberList(const std::string& text, std::vector<double>& out) {
    out.clear();
    size_t at = 0;
    while (at <= text.size()) {
        size_t comma = text.find(',', at);
        std::string item = text.substr(at, comma == std::string::npos ? comma : comma - at);
        char* end = nullptr;
        errno = 0;
        double v = std::strtod(item.c_str(), &end);
        if (item.empty() || *end != '\0' || errno == ERANGE) return false;
        out.push_back(v);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    return true;
}
