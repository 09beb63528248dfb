// Refusing an output that is one of the command's own inputs, before anything
// is read or written.
#pragma once

#include <string>
#include <vector>

// Whether `a` and `b` name the same file on disk (same device and inode), so
// that another spelling of a path, a symbolic link or a hard link counts too.
// False when either does not exist.
bool sameFile(const std::string& a, const std::string& b);

// Whether writing `a` and writing `b` would write one file: the same file
// when it exists, otherwise the same name in the same folder (links followed).
bool sameOutput(const std::string& a, const std::string& b);

// Prints one line and returns EXIT_FAILED when `output` is the same file as
// one of `inputs`; EXIT_OK otherwise, also for an empty `output` (not given).
int refuseOutputOverInput(const std::string& output, const std::vector<std::string>& inputs);
