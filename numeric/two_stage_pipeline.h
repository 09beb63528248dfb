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
    auto preparing = [&] {
        for (int64_t b = 0; b < blocks; ++b) {
            {
                std::unique_lock<std::mutex> hold(lock);
                changed.wait(hold, [&] { return failed || b - taken < slots; });
                if (failed) return;
            }
            const bool ok = prepare(b, int(b % slots));
            std::lock_guard<std::mutex> hold(lock);
            failed = failed || !ok;
            prepared = ok ? b + 1 : prepared;
            changed.notify_all();
            if (!ok) return;
        }
    };
    auto taking = [&] {
        for (int64_t b = 0; b < blocks; ++b) {
            {
                std::unique_lock<std::mutex> hold(lock);
                changed.wait(hold, [&] { return failed || prepared > b; });
                if (failed) return;
            }
            const bool ok = take(b, int(b % slots));
            std::lock_guard<std::mutex> hold(lock);
            failed = failed || !ok;
            taken = ok ? b + 1 : taken;
            changed.notify_all();
            if (!ok) return;
        }
    };
    const bool split = onTwoThreads(blocks > 1 && slots > 1, [&](int part, int parts) {
        if (parts == 1) {
            for (int64_t b = 0; b < blocks && !failed; ++b)
                failed = !prepare(b, int(b % slots)) || !take(b, int(b % slots));
        } else if (part == 0) {
            taking();
        } else {
            preparing();
        }
    });
    (void)split;
    return !failed;
}
