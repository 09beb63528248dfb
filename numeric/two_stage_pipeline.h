// Work in two stages over a run of blocks: a second thread prepares block
// b + 1 (and a few beyond) while the caller's thread takes block b, so that
// the slower stage sets the pace instead of the sum of both.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "numeric/two_threads.h"

// Runs prepare(b, slot) and then take(b, slot) for every block b < blocks,
// in order, slot being b modulo `slots` (the caller holds that many buffers).
// prepare runs on a second thread when one can be had; take always runs on
// the caller's. A false from either stops both; false is then returned.
template <typename Prepare, typename Take>
bool inTwoStages(int64_t blocks, int slots, Prepare&& prepare, Take&& take) {
    std::mutex lock;
    std::condition_variable changed;
    int64_t prepared = 0, taken = 0;
    bool failed = false;
    // One stage: block b once ready(b), then counted in `done`.
    auto stage = [&](auto& work, int64_t& done, auto ready) {
        for (int64_t b = 0; b < blocks; ++b) {
            {
                std::unique_lock<std::mutex> hold(lock);
                changed.wait(hold, [&] { return failed || ready(b); });
                if (failed) return;
            }
            const bool ok = work(b, int(b % slots));
            std::lock_guard<std::mutex> hold(lock);
            failed = failed || !ok;
            done = ok ? b + 1 : done;
            changed.notify_all();
        }
    };
    onTwoThreads(blocks > 1 && slots > 1, [&](int part, int parts) {
        if (parts == 1) {
            for (int64_t b = 0; b < blocks && !failed; ++b)
                failed = !prepare(b, int(b % slots)) || !take(b, int(b % slots));
        } else if (part == 0) {
            stage(take, taken, [&](int64_t b) { return prepared > b; });
        } else {
            stage(prepare, prepared, [&](int64_t b) { return b - taken < slots; });
        }
    });
    return !failed;
}
