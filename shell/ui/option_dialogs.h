// The Options menu's dialogs, one per command, added by the features that own
// the option records they edit.
#pragma once

#include <functional>

class QWidget;

using OptionDialogOpener = std::function<void(QWidget* owner)>;

// Makes `command` open `open`; a later one for the same command replaces it.
void addOptionDialog(int command, OptionDialogOpener open);
// Opens the dialog of `command` over `owner`; false when no feature added one.
bool openOptionDialog(int command, QWidget* owner);
