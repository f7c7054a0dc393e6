// The codec takes its larger bitmaps as anonymous memory mappings, which AddressSanitizer does
// not watch: a write past a bitmap's end would land unnoticed in the next mapping. For the
// fuzzer, anonymous read-write mappings up to kLargestOnHeap come from the sanitizer's heap
// instead, where every byte past the end is poisoned.
//
// Larger ones stay real, lazily committed mappings, so that they cost what they cost in the
// product: only the pages the codec writes. Each gets an inaccessible page behind it, and the
// block handed out ends right at that page (up to 15 bytes of alignment), so that a write or
// read past its end still stops the run. The codec's paging hints for the blocks are dropped:
// in small pages a touched row commits 4 KiB, not a 2 MiB page.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The largest block served from the heap. Blocks there cost only the pages written, as in a
// mapping, but the allocator's quarantine keeps freed ones for a while: with an image and its
// copy (two planes each) and the quarantine, the heap stays well under a gigabyte.
constexpr std::size_t kLargestOnHeap = std::size_t{64} << 20;

// A block handed out in place of a mapping: a heap block, or a guarded mapping that runs from
// base over mapped bytes (for a heap block: the block itself).
struct Block {
    char* user = nullptr;
    char* base = nullptr;
    std::size_t mapped = 0;
    bool heap = false;
};

// An image and its copy hold a few at a time.
std::array<Block, 64> blocks{};

Block* findBlock(const void* user) {
    for (Block& block : blocks)
        if (block.user != nullptr && block.user == user)
            return &block;
    return nullptr;
}

// The block that address lies in, if any.
Block* blockHolding(const void* address) {
    const auto* at = static_cast<const char*>(address);
    for (Block& block : blocks)
        if (block.user != nullptr && at >= block.base && at < block.base + block.mapped)
            return &block;
    return nullptr;
}

Block* freeSlot() {
    for (Block& block : blocks)
        if (block.user == nullptr)
            return &block;
    return nullptr;
}

void* realMmap(void* address, std::size_t length, int protection, int flags, int fd, off_t offset) {
    return reinterpret_cast<void*>(
        syscall(SYS_mmap, address, length, protection, flags, fd, offset));
}

int realMunmap(void* address, std::size_t length) {
    return static_cast<int>(syscall(SYS_munmap, address, length));
}

std::size_t roundUp(std::size_t size, std::size_t unit) {
    return (size + unit - 1) / unit * unit;
}

// length bytes ending 16-aligned right before an inaccessible page, or MAP_FAILED.
void* mapGuarded(Block& slot, std::size_t length, int flags) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t used = roundUp(length, 16);
    const std::size_t body = roundUp(used, page);
    void* memory = realMmap(nullptr, body + page, PROT_READ | PROT_WRITE, flags, -1, 0);
    if (memory == MAP_FAILED)
        return MAP_FAILED;
    char* base = static_cast<char*>(memory);
    if (mprotect(base + body, page, PROT_NONE) != 0) {
        realMunmap(base, body + page);
        return MAP_FAILED;
    }
    slot = Block{base + body - used, base, body + page, false};
    return slot.user;
}

} // namespace

extern "C" void* mmap(void* address, std::size_t length, int protection, int flags, int fd,
                      off_t offset) {
    const bool plainAnonymous = address == nullptr && fd == -1 && (flags & MAP_ANONYMOUS) &&
                                !(flags & MAP_FIXED) && protection == (PROT_READ | PROT_WRITE);
    Block* slot = plainAnonymous && length > 0 ? freeSlot() : nullptr;
    if (slot && length <= kLargestOnHeap) {
        if (void* block = std::calloc(1, length)) {
            *slot = Block{static_cast<char*>(block), static_cast<char*>(block), length, true};
            return block;
        }
    } else if (slot && length <= SIZE_MAX / 4) {
        return mapGuarded(*slot, length, flags);
    }
    return realMmap(address, length, protection, flags, fd, offset);
}

extern "C" int munmap(void* address, std::size_t length) {
    if (Block* block = address ? findBlock(address) : nullptr) {
        const Block taken = *block;
        *block = Block{};
        if (taken.heap) {
            std::free(taken.user);
            return 0;
        }
        return realMunmap(taken.base, taken.mapped);
    }
    return realMunmap(address, length);
}

extern "C" int madvise(void* address, std::size_t length, int advice) {
    if (blockHolding(address))
        return 0;
    return static_cast<int>(syscall(SYS_madvise, address, length, advice));
}
