// "<name> already exists. Replace it?" before a save writes over a file. The
// desktop's saves ask it for the name they finally write, which may have
// gained its extension after the file dialog (whose own question is off).
#pragma once

#include <QString>

class QWidget;

// The question's text for `path`: its file's name, as the dialog shows it.
QString replaceQuestionText(const QString& path);

// True when the save may write `path`: nothing is there yet, or the user
// answered Yes. No, the default, cancels the save.
bool mayReplace(QWidget* owner, const QString& path);
