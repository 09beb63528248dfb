#include "shell/format_text.h"

#include <cstdarg>
#include <cstdio>

bool formatText(char* buffer, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(buffer, size, format, args);
    va_end(args);
    if (length < 0) {
        // A conversion that failed leaves nothing of use.
        if (size > 0) buffer[0] = '\0';
        return true;
    }
    return size_t(length) >= size;
}
