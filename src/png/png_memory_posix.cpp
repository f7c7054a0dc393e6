#include "png/png_memory.h"

#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>

namespace sc::png {
namespace {

#ifdef MADV_HUGEPAGE
constexpr std::size_t kHugePageSize = std::size_t(2) << 20;
// From this size on, a bitmap is mapped in whole large pages, so that the decoder's
// first writes take a few faults instead of one per small page. The last large page may reach
// beyond the bitmap; it is kept in small pages, so nothing past the bitmap's end is committed.
constexpr std::size_t kHugeFrom = kSmallZeroedSize;
#endif

bool UsesHugePages(std::size_t size) {
#ifdef MADV_HUGEPAGE
    return size >= kHugeFrom && size <= SIZE_MAX / 2;
#else
    (void)size;
    return false;
#endif
}

std::size_t MappedSize(std::size_t size) {
#ifdef MADV_HUGEPAGE
    if (UsesHugePages(size))
        return (size + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
#endif
    return size;
}

void* MapZeroed(std::size_t size) {
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    return memory == MAP_FAILED ? nullptr : memory;
}

} // namespace

void* AllocateZeroed(std::size_t size) noexcept {
    if (size == 0)
        return nullptr;
    if (size < kSmallZeroedSize)
        return std::calloc(1, size);
#ifdef MADV_HUGEPAGE
    if (UsesHugePages(size)) {
        // The system places mappings of whole large pages on a large-page boundary.
        const std::size_t mapped = MappedSize(size);
        void* memory = MapZeroed(mapped);
        if (memory) {
            madvise(memory, mapped, MADV_HUGEPAGE);
            // The last, partly used large page stays in small pages: only what the bitmap
            // really touches of it is committed, nothing beyond the bitmap's end.
            const std::size_t tail = size / kHugePageSize * kHugePageSize;
            if (tail < mapped)
                madvise(static_cast<char*>(memory) + tail, mapped - tail, MADV_NOHUGEPAGE);
        }
        return memory;
    }
#endif
    return MapZeroed(size);
}

void ReleaseZeroed(void* memory, std::size_t size) noexcept {
    if (size < kSmallZeroedSize)
        std::free(memory);
    else if (memory)
        munmap(memory, MappedSize(size));
}

} // namespace sc::png
