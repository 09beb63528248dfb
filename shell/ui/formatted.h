// Numbers as the windows and dialogs show them: through a printf format, in
// the "C" locale, bounded.
#pragma once

#include <QString>

QString formatted(const char* format, double value);
QString formatted(const char* format, int value);
