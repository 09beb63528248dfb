// Minimal JSON output helpers for the --json forms of the subcommands.
#pragma once

#include <string>

// The text as a JSON string literal, quotes included.
std::string jsonString(const std::string& text);
// A number as JSON: "%.17g" (exact for doubles), null when not finite.
std::string jsonNumber(double value);
