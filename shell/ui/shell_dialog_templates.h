// The shell's own dialogs: the About box and the three analysis option dialogs.
#pragma once

// Adds the shell's dialog templates to the registry.
void registerShellDialogTemplates();
// Adds every subsystem's dialog templates; the program and the widget tests
// call it once before the first dialog.
void registerDialogTemplates();
