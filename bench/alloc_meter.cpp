#include "alloc_meter.h"

#include <cerrno>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define BENCH_HEAP_METER 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BENCH_HEAP_METER 0
#endif
#endif
#ifndef BENCH_HEAP_METER
#define BENCH_HEAP_METER 1
#endif

#if BENCH_HEAP_METER
#include <malloc.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

// glibc's own entry points; the definitions below take the public names for the whole process.
extern "C" {
void* __libc_malloc(size_t size);
void __libc_free(void* block);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
}
#endif

namespace bench {
namespace {

bool metering = false;
HeapReading reading;

[[maybe_unused]] void countAcquired(void* block) {
#if BENCH_HEAP_METER
    if (!metering || !block)
        return;
    reading.heldBytes += static_cast<int64_t>(malloc_usable_size(block));
    ++reading.allocations;
    if (reading.heldBytes > reading.peakBytes)
        reading.peakBytes = reading.heldBytes;
#else
    (void)block;
#endif
}

[[maybe_unused]] void countReleased(void* block) {
#if BENCH_HEAP_METER
    if (metering && block)
        reading.heldBytes -= static_cast<int64_t>(malloc_usable_size(block));
#else
    (void)block;
#endif
}

[[maybe_unused]] void countMapped(int64_t bytes) {
    if (!metering)
        return;
    reading.heldBytes += bytes;
    if (bytes > 0)
        ++reading.allocations;
    if (reading.heldBytes > reading.peakBytes)
        reading.peakBytes = reading.heldBytes;
}

} // namespace

bool heapMeterAvailable() {
    return BENCH_HEAP_METER != 0;
}

void startHeapMeter() {
    reading = HeapReading{};
    metering = true;
}

HeapReading stopHeapMeter() {
    metering = false;
    return reading;
}

} // namespace bench

#if BENCH_HEAP_METER
extern "C" {

void* malloc(size_t size) {
    void* block = __libc_malloc(size);
    bench::countAcquired(block);
    return block;
}

void free(void* block) {
    bench::countReleased(block);
    __libc_free(block);
}

void* calloc(size_t count, size_t size) {
    void* block = __libc_calloc(count, size);
    bench::countAcquired(block);
    return block;
}

void* realloc(void* block, size_t size) {
    bench::countReleased(block);
    void* moved = __libc_realloc(block, size);
    // A failed realloc keeps the old block; a realloc to 0 may free it and return null.
    bench::countAcquired(moved ? moved : (size != 0 ? block : nullptr));
    return moved;
}

void* memalign(size_t alignment, size_t size) {
    void* block = __libc_memalign(alignment, size);
    bench::countAcquired(block);
    return block;
}

void* aligned_alloc(size_t alignment, size_t size) {
    return memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size) {
    void* block = memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *out = block;
    return 0;
}

// Memory mapped directly by the program (glibc's allocator maps through its own internal entry
// points and is not seen here): anonymous mappings count as held memory.
void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) {
    void* mapped =
        reinterpret_cast<void*>(syscall(SYS_mmap, address, length, protection, flags, fd, offset));
    if (mapped != MAP_FAILED && (flags & MAP_ANONYMOUS))
        bench::countMapped(static_cast<int64_t>(length));
    return mapped;
}

void* mmap64(void* address, size_t length, int protection, int flags, int fd, off64_t offset) {
    return mmap(address, length, protection, flags, fd, offset);
}

int munmap(void* address, size_t length) {
    const int result = static_cast<int>(syscall(SYS_munmap, address, length));
    if (result == 0)
        bench::countMapped(-static_cast<int64_t>(length));
    return result;
}

} // extern "C"
#endif
