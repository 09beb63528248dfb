// The shell's own dialog: the About box.
#pragma once

// Adds the shell's dialog templates to the registry.
void registerShellDialogTemplates();
