// The wave generator: its parameter dialog, its command and its parameters.
#pragma once

// Adds the generator dialogs, command and parameter record to the shell's registries; called once
// from the program's list of features before the frame is made.
void registerGenerator();
