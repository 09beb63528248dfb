// Where the user manual lives: beside the executable in the build tree, and
// in the share directory of the prefix the program is installed in.
#pragma once

#include <string>
#include <vector>

constexpr const char* HELP_FILE_NAME = "ondarix-manual.html";

// The places looked at, in order: the executable's directory, then
// <that directory>/../share/ondarix/ (bin/ondarix of a prefix).
std::vector<std::string> helpFileCandidates(const std::string& executablePath);

// The first candidate that is a regular file; empty when there is none.
std::string findHelpFile(const std::string& executablePath);
