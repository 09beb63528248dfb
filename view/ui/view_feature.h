// The measurement view feature: its dialogs, the File commands that open and
// save measure windows (and open the command line's file), the picture
// export, and the watch that marks a measure window whose description a
// command changed.
#pragma once

// Adds its dialog templates, command group and command watch to the shell's
// registries; called once from the program's list of features.
void registerView();
