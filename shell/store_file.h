// Where a store's bytes live on disk, and what a killed save leaves there.
#pragma once

#include <string>

#include "measure/file_target.h"

// The name pattern (for mkstemp) of the temporary file a save writes through.
std::string temporaryPattern(const std::string& storePath);

// Removes the temporary files of saves that never finished beside the store:
// regular files named by temporaryPattern, and those of earlier versions,
// "<store>.XXXXXX", when the six characters hold a digit, a capital and a
// small letter as mkstemp's mostly do, so that a user's "3.0.reg.backup"
// stays. Call it only while holding the store's lock, when no save of ours
// is under way.
void removeStaleTemporaries(const std::string& storePath);
