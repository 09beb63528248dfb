// The channel and range fields the run dialogs share: shown from a block and
// read back within the source measurement, one rule for every run dialog.
#pragma once

#include "measure/measure.h"
#include "shell/ui/dialog.h"

// Fills the fields Channel (271), From (1050) and To (244).
void showRunRange(CDialog& dialog, const BlockRange& range);
// Reads them: the channel one of `source`'s, From and To within 0 .. its
// sample count. False (the dialog stays open on the field) otherwise.
bool readRunRange(CDialog& dialog, const CMeasure& source, BlockRange& range);
