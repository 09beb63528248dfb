// Files parsed by libraries we cannot harden (libhdf5, libmatio) are read in
// a child process, as browsers and file managers parse untrusted formats: a
// damaged file that crashes the library, loops in it or asks it for all the
// memory there is ends the child, never the program. The child writes the
// samples into shared memory that becomes the measurement's own block, so
// the fence costs no copy of the record.
#pragma once

#include <functional>
#include <string>

#include "measure/measure.h"
#include "measure/read_report.h"

// What the child runs: fills `m` (a fresh measurement), false with `*error`
// set on failure.
using FencedReader = std::function<bool(CMeasure& m, std::string* error, ReadReport* report)>;

struct FenceLimits {
    // Memory the child may take beyond its samples, for the library's own use.
    int64_t memoryMargin = int64_t(512) << 20;
    // The child is stopped after this long: a base plus a second for every
    // `bytesPerSecond` of the file.
    double baseSeconds = 30;
    double bytesPerSecond = 16 << 20;
};

// Runs `read` in a child process on the file at `path` and gives `m` what it
// read. A child that crashes, runs past its time or memory, or is cancelled
// leaves `m` empty and `*error` one line saying so.
bool readFenced(CMeasure& m, const char* path, const FencedReader& read, std::string* error,
                ReadReport* report, const FenceLimits& limits = {});

// Lets a reading child take `bytes` more than its samples and margin, for
// what the file justifies beyond its samples (a chunk cache of the file's
// own chunk size); nothing in a process that is not a reading child.
void allowReadingMemory(int64_t bytes);

// Asked about ten times a second while a child reads; true stops the read
// ("the read was cancelled"). One per thread; null for none. Python sets one
// that checks for Ctrl+C, the desktop one for its progress dialog's Cancel.
using ReadCancelCheck = bool (*)();
ReadCancelCheck setReadCancelCheck(ReadCancelCheck check);
// Whether a read's error says it was cancelled (nothing to tell the user).
bool readWasCancelled(const std::string& error);
