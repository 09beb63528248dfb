#include "measure/component_list_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int COMPONENT_FIELDS = 6;

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos)
        lines.pop_back();
    return lines;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Every blank-separated word of `line` as a finite number; false on any word
// that is not one.
bool parseNumbers(const std::string& line, std::vector<double>& out) {
    out.clear();
    const char* p = line.c_str();
    while (true) {
        while (isBlank(*p))
            ++p;
        if (*p == '\0') return true;
        char* end = nullptr;
        errno = 0;
        double value = std::strtod(p, &end);
        if (end == p || errno == ERANGE || !std::isfinite(value)) return false;
        if (*end != '\0' && !isBlank(*end)) return false;
        out.push_back(value);
        p = end;
    }
}

bool isWhole(double v) {
    return v == std::floor(v) && std::fabs(v) <= 2147483647.0;
}

bool fail(std::string* error, size_t line, const std::string& what) {
    if (error) *error = "line " + std::to_string(line + 1) + ": " + what;
    return false;
}

} // namespace

std::string componentListText(const BlockRange& range, const SignalParameters& params) {
    std::string text;
    char line[512];
    int n = params.componentCount;
    if (n < 0) n = 0;
    if (n > MAX_COMPONENTS) n = MAX_COMPONENTS;
    std::snprintf(line, sizeof line, "%d\t%d\t%d\t%d\r\n", range.channel, range.from, range.to, n);
    text += line;
    for (int i = 0; i < n; ++i) {
        const SignalComponent& c = params.components[i];
        std::snprintf(line, sizeof line, "%6.4f\t%6.4f\t%6.4f\t%6.4f\t%6.4f\t%6.4f\r\n",
                      c.frequency, c.amplitude, c.k, c.a, c.d, c.eta);
        text += line;
    }
    return text;
}

bool parseComponentList(const std::string& text, BlockRange& range, SignalParameters& params,
                        std::string* error) {
    std::vector<std::string> lines = splitLines(text);
    if (lines.empty()) return fail(error, 0, "the component list is empty");
    std::vector<double> head;
    if (!parseNumbers(lines[0], head) || head.size() != 4 || !isWhole(head[0]) ||
        !isWhole(head[1]) || !isWhole(head[2]) || !isWhole(head[3]))
        return fail(error, 0, "expected four whole numbers: channel, from, to, component count");
    int count = int(head[3]);
    if (count < 0 || count > MAX_COMPONENTS)
        return fail(error, 0, "the component count must be 0 to 10");
    // Syntax first, so a bad line is named even when the count is wrong too.
    SignalParameters parsed;
    resetParameters(parsed);
    std::vector<double> v;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (!parseNumbers(lines[i + 1], v) || v.size() != COMPONENT_FIELDS)
            return fail(error, i + 1, "expected six numbers: frequency, amplitude, k, a, d, eta");
        if (i >= size_t(MAX_COMPONENTS)) continue;
        SignalComponent& c = parsed.components[i];
        c.frequency = v[0];
        c.amplitude = v[1];
        c.k = v[2];
        c.a = v[3];
        c.d = v[4];
        c.eta = v[5];
    }
    if (int(lines.size()) - 1 != count)
        return fail(error, 0,
                    "the list announces " + std::to_string(count) + " components but " +
                        std::to_string(lines.size() - 1) + " component lines follow");
    parsed.componentCount = count;
    range = BlockRange{int32_t(head[0]), int32_t(head[1]), int32_t(head[2])};
    params = parsed;
    return true;
}
