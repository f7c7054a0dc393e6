// The codec takes its bitmaps as anonymous memory mappings, which AddressSanitizer does not
// watch: a write past a bitmap's end would land unnoticed in the next mapping. For the fuzzer,
// anonymous read-write mappings of moderate size come from the sanitizer's heap instead, where
// every byte past the end is poisoned. Larger ones stay real mappings, so that huge but valid
// headers do not trip the fuzzer's allocation limit.

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr std::size_t kLargestOnHeap = std::size_t{256} << 20;

// The blocks handed out in place of mappings (an image and its copy hold a few at a time).
std::array<void*, 64> heapBlocks{};

bool takeSlot(void* block) {
    for (void*& slot : heapBlocks)
        if (slot == nullptr) {
            slot = block;
            return true;
        }
    return false;
}

bool releaseSlot(void* block) {
    for (void*& slot : heapBlocks)
        if (slot == block) {
            slot = nullptr;
            return true;
        }
    return false;
}

void* realMmap(void* address, std::size_t length, int protection, int flags, int fd, off_t offset) {
    return reinterpret_cast<void*>(
        syscall(SYS_mmap, address, length, protection, flags, fd, offset));
}

} // namespace

extern "C" void* mmap(void* address, std::size_t length, int protection, int flags, int fd,
                      off_t offset) {
    const bool plainAnonymous = address == nullptr && fd == -1 && (flags & MAP_ANONYMOUS) &&
                                !(flags & MAP_FIXED) && protection == (PROT_READ | PROT_WRITE);
    if (plainAnonymous && length > 0 && length <= kLargestOnHeap) {
        void* block = std::calloc(1, length);
        if (block && takeSlot(block))
            return block;
        std::free(block);
    }
    return realMmap(address, length, protection, flags, fd, offset);
}

extern "C" int munmap(void* address, std::size_t length) {
    if (address && releaseSlot(address)) {
        std::free(address);
        return 0;
    }
    return static_cast<int>(syscall(SYS_munmap, address, length));
}
