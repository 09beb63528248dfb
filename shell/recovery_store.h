// The folder of recovery copies: one file per changed measurement window,
// named after the running program and the window, so that no two windows
// share one and a copy left by a program that died can be told from one a
// running program still keeps up to date.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "measure/file_type_table.h"
#include "measure/measure.h"

// $XDG_STATE_HOME/ondarix, else ~/.local/state/ondarix; empty when neither
// variable holds an absolute path.
std::string recoveryFolder();

// A running program: its process id and its start in clock ticks after boot,
// so that a later process given the same id is not taken for it.
struct ProcessTag {
    long pid = 0;
    unsigned long long start = 0;
};

// This process.
ProcessTag currentProcess();
// Whether the process `tag` names still runs.
bool processRunning(const ProcessTag& tag);

struct RecoveryEntry {
    std::string path;
    ProcessTag owner;
    int serial = 0;
    std::time_t written = 0;
};

class RecoveryStore {
  public:
    explicit RecoveryStore(std::string folder, ProcessTag self = currentProcess());

    const std::string& folder() const { return folder_; }
    // The copy of this program's window `serial`.
    std::string entryPath(int serial) const;
    // Writes the copy of window `serial` (the folder made if need be); false
    // with `*error` saying why.
    bool write(int serial, const CMeasure& m, FileType type, std::string* error) const;
    // Removes the copy of window `serial`, if there is one.
    void remove(int serial) const;
    // Makes a copy left by another program the copy of this program's window
    // `serial`; false when it is gone (another program took it first).
    bool adopt(const RecoveryEntry& entry, int serial) const;
    // The copies whose program no longer runs, oldest first.
    std::vector<RecoveryEntry> orphans() const;

  private:
    std::string folder_;
    ProcessTag self_;
};

// Renames a copy that cannot be read to "<name>.unreadable", out of the way
// of the next start but kept for the user; the new path, or empty.
std::string setAsideRecoveryEntry(const RecoveryEntry& entry);
