// The measurement feature: file info, channel and statistics dialogs, and the
// recovery copies of unsaved measurement windows.
#pragma once

// Adds its dialog templates and command group to the shell's registries; called once from the
// program's list of features before the frame is made.
void registerMeasure();
