// A warning the user must see, such as a save that wrote nothing.
#pragma once

#include <QString>

class QWidget;

// A modal message box titled "Ondarix", its text starting a sentence.
void showWarning(QWidget* parent, const QString& text);
