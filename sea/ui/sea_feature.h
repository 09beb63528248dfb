// Irregular seas in the desktop program: the dialog's template and the
// Generate menu's command.
#pragma once

void registerSea();
