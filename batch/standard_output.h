// Results on standard output: a shell may send them to a full disk, and a run
// whose results did not arrive must not end in success.
#pragma once

#include <string>

// Writes `text` to standard output; a failure is kept for the end of the run.
void printText(const std::string& text);

// Flushes and closes standard output at the end of a run that ended with
// `code`. A write that failed during the run or now turns success into
// EXIT_FAILED with one line on stderr; a failure keeps its own code and line.
int finishStandardOutput(int code);
