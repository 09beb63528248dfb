#include "numeric/every_core.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

void onEveryCore(size_t count, const std::function<void(size_t)>& one) {
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < count; i = next++)
            one(i);
    };
    const size_t workers =
        std::min<size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (size_t i = 1; i < workers; ++i) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break; // fewer threads; the caller's still takes every item left
        }
    }
    work();
    for (std::thread& t : threads)
        t.join();
}
