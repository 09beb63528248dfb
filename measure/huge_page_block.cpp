#include "measure/huge_page_block.h"

#include <sys/mman.h>

namespace {

constexpr size_t HUGE_PAGE = size_t(2) << 20;

} // namespace

void* allocateHugePageBlock(size_t bytes) {
    if (bytes < 4 * HUGE_PAGE) return std::malloc(bytes);
    const size_t rounded = (bytes + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
    void* block = std::aligned_alloc(HUGE_PAGE, rounded);
    if (block) madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}
