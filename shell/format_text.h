// Bounded printf-style formatting; every number shown in a window or dialog
// goes through it.
#pragma once

#include <cstddef>

// Formats into `buffer` of `size` bytes: at most size - 1 characters and
// always terminated (nothing is written when size is 0). Returns true when
// the text was cut to fit.
bool formatText(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
