// Items shared out over the cores: each once, none lost, and the call
// returns only when all are done.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "numeric/every_core.h"

TEST(EveryCore, EachItemOnceAndAllDoneOnReturn) {
    for (size_t count : {size_t(0), size_t(1), size_t(3), size_t(1000)}) {
        std::vector<std::atomic<int>> calls(count);
        onEveryCore(count, [&](size_t i) { ++calls[i]; });
        for (size_t i = 0; i < count; ++i)
            EXPECT_EQ(calls[i].load(), 1) << count << " items, item " << i;
    }
}
