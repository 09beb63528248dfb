// The approximation: its run and option dialogs, its command and options.
#pragma once

// Adds the approximation dialogs, command, option record and option dialog to the shell's
// registries; called once from the program's list of features before the frame is made.
void registerAprox();
