// Work split over two threads: part 0 on the caller's thread, part 1 on a
// second one.
#pragma once

#include <system_error>
#include <thread>

// Runs work(0, 2) here and work(1, 2) on a second thread when `split` asks
// for it and a thread can be had (true); otherwise work(0, 1) alone (false).
// Each part writes only its own results.
template <typename Work> bool onTwoThreads(bool split, Work&& work) {
    std::thread second;
    if (split && std::thread::hardware_concurrency() != 1) {
        try {
            second = std::thread([&work] { work(1, 2); });
        } catch (const std::system_error&) {
        }
    }
    if (!second.joinable()) {
        work(0, 1);
        return false;
    }
    work(0, 2);
    second.join();
    return true;
}
