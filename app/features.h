// The program's features, plugged into the shell in one place.
#pragma once

// Registers the shell's own dialogs and then every feature's commands,
// dialogs and option records, in the order of the list. Calling it again
// changes nothing.
void registerFeatures();
