#include "shell/ui/formatted.h"

#include "shell/format_text.h"

// The format is the caller's literal; the compiler cannot check it here.
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

QString formatted(const char* format, double value) {
    char buffer[128];
    formatText(buffer, sizeof buffer, format, value);
    return QString::fromLatin1(buffer);
}

QString formatted(const char* format, int value) {
    char buffer[64];
    formatText(buffer, sizeof buffer, format, value);
    return QString::fromLatin1(buffer);
}
