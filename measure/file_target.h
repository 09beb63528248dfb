// Where a write lands: the folder of a path, and the file a symbolic link
// leads to, so that a save replaces the link's target and keeps the link.
#pragma once

#include <string>

// The directory part of `path` ("." when it has none).
std::string directoryOf(const std::string& path);
// The last part of `path`, after its last slash.
std::string fileNameOf(const std::string& path);

// The file `path` names once symbolic links in its last part are followed.
// A dangling link gives the file it points at; a loop gives the last path
// reached.
std::string linkTarget(const std::string& path);

// Makes a rename in `directory` durable; a failure here does not undo it.
void syncDirectory(const std::string& directory);
