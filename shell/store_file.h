// Where a store's bytes live on disk, and what a killed save leaves there.
#pragma once

#include <string>

// The directory part of `path` ("." when it has none).
std::string directoryOf(const std::string& path);

// The file `path` names once symbolic links in its last part are followed,
// so that a save replaces the link's target rather than the link. A dangling
// link gives the file it points at; a loop gives the last path reached.
std::string storeTarget(const std::string& path);

// The temporary files of saves that never finished ("<store>.XXXXXX", the
// pattern a save writes through) beside the store: regular files only. Call
// it only while holding the store's lock, when no save of ours is under way.
void removeStaleTemporaries(const std::string& storePath);
