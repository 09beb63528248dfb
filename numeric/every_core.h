// Independent items shared out over the machine's cores: each worker takes
// the next item in turn, so a worker holds one item's data at a time and a
// long item does not hold up the others.
#pragma once

#include <cstddef>
#include <functional>

// Calls one(i) once for each i in 0 .. count - 1, on as many threads as the
// machine has cores (at most count), the caller's among them; returns when
// every item is done. one(i) must touch only item i's results, or lock.
void onEveryCore(size_t count, const std::function<void(size_t)>& one);
