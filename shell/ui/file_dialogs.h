// The open and save file dialogs: filters in a fixed order, and the chosen
// filter's 1-based index telling the caller which format to use.
#pragma once

#include "shell/ui/dialog_script.h"

class QWidget;

// Shows the dialog `request` describes (or plays its script step). The open
// dialog needs an existing file; the save dialog asks before overwriting.
// Both add the default extension "INT" to a name typed without one.
FileDialogAnswer runFileDialog(QWidget* owner, const FileDialogRequest& request);
