#include "png/png_memory.h"

#include <sys/mman.h>

namespace sc::png {

void* AllocateZeroed(std::size_t size) noexcept {
    if (size == 0)
        return nullptr;
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    return memory == MAP_FAILED ? nullptr : memory;
}

void ReleaseZeroed(void* memory, std::size_t size) noexcept {
    if (memory)
        munmap(memory, size);
}

} // namespace sc::png
