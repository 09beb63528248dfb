#include "kalman/kalman_copy_text.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr int HEAD_LIMIT = 39;
constexpr int COMPONENT_LIMIT = 59;

// Appends the formatted text, cut after `limit` characters.
void appendCut(std::string& text, int limit, const char* format, ...) {
    char line[COMPONENT_LIMIT + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, size_t(limit) + 1, format, args);
    va_end(args);
    text += line;
}

} // namespace

std::string kalmanCopyAllText(const BlockRange& range, const SignalParameters& components,
                              const KalmanOptions& options) {
    int n = components.componentCount;
    if (n < 0) n = 0;
    if (n > MAX_COMPONENTS) n = MAX_COMPONENTS;
    std::string text;
    appendCut(text, HEAD_LIMIT, "%d\t%d\t%d\t%d\r\n", range.channel, range.from, range.to, n);
    for (int k = 0; k < n; ++k) {
        const SignalComponent& c = components.components[k];
        appendCut(text, COMPONENT_LIMIT, "%8.6f\t%8.6f\t%8.6f\r\n", c.frequency, c.amplitude, c.k);
    }
    appendCut(text, HEAD_LIMIT, "%4.2f\t%d\t%d\r\n", options.observation_error, options.use_damp,
              options.model);
    return text;
}
