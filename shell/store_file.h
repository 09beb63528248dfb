// Where a store's bytes live on disk, and what a killed save leaves there.
#pragma once

#include <string>

// The directory part of `path` ("." when it has none).
std::string directoryOf(const std::string& path);

// The file `path` names once symbolic links in its last part are followed,
// so that a save replaces the link's target rather than the link. A dangling
// link gives the file it points at; a loop gives the last path reached.
std::string storeTarget(const std::string& path);

// The name pattern (for mkstemp) of the temporary file a save writes through.
std::string temporaryPattern(const std::string& storePath);

// Removes the temporary files of saves that never finished beside the store:
// regular files named by temporaryPattern, and those of earlier versions,
// "<store>.XXXXXX", when the six characters hold a digit, a capital and a
// small letter as mkstemp's mostly do, so that a user's "3.0.reg.backup"
// stays. Call it only while holding the store's lock, when no save of ours
// is under way.
void removeStaleTemporaries(const std::string& storePath);
