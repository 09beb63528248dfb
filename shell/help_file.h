// Where the help file lives: beside the program's own executable.
#pragma once

#include <string>

constexpr const char* HELP_FILE_NAME = "ONDAR32.HLP";

// The executable's path up to and including its last directory separator,
// followed by the help file's name.
std::string helpFilePath(const std::string& executablePath);
