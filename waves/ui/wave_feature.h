// The wave analyses: their dialogs and commands.
#pragma once

// Adds the wave dialogs and commands to the shell's registries; called once from the
// program's list of features before the frame is made.
void registerWaves();
