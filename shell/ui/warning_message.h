// A warning the user must see, such as a save that wrote nothing.
#pragma once

#include <QString>

class QWidget;

// A modal message box titled "Ondarix"; in script mode the text is recorded
// instead, so a test never blocks.
void showWarning(QWidget* parent, const QString& text);
