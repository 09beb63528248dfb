// Large working buffers asked for in transparent huge pages: filling a
// buffer of megabytes in pages of 4 KiB spends much of its time in page
// faults, and a reading child starts with no memory of its own to reuse.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

// At least `bytes`, uninitialised; in huge pages from 8 MiB on (the
// system's choice below that). Null when the memory cannot be had.
void* allocateHugePageBlock(size_t bytes);

using HugePageBlock = std::unique_ptr<unsigned char, void (*)(void*)>;
inline HugePageBlock makeHugePageBlock(size_t bytes) {
    return HugePageBlock(static_cast<unsigned char*>(allocateHugePageBlock(bytes)), std::free);
}
