// A warning the user must see, such as a save that wrote nothing.
#pragma once

#include <QString>

class QWidget;

// A message box shows at most this many lines of this many characters in
// all: a reason that quotes a damaged file could otherwise run to megabytes.
constexpr int WARNING_MAX_LINES = 12;
constexpr int WARNING_MAX_CHARS = 1200;

// `text` cut to the limits above, "..." at the end when anything was left out.
QString boundedMessage(const QString& text);

// A modal message box titled "Ondarix", its text starting a sentence: a first
// word gets its capital, a file name at the start keeps its letter case.
void showWarning(QWidget* parent, const QString& text);
