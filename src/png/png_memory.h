// Zeroed memory straight from the operating system: pages are committed only when touched, so a
// large bitmap that is never written costs neither memory nor time.
#pragma once

#include <cstddef>
#include <cstdlib>

namespace sc::png {

// Below this size the run-time's zeroing allocator serves: it reuses freed memory (zeroing it)
// where a fresh mapping would take a fault per page. A bitmap this small costs little even when
// a header promises more than the file holds.
inline constexpr std::size_t kSmallZeroedSize = std::size_t(16) << 20;

// size bytes of zeroed memory, or nullptr when the system refuses; size 0 gives nullptr.
void* AllocateZeroed(std::size_t size) noexcept;
void ReleaseZeroed(void* memory, std::size_t size) noexcept;

// size bytes for a caller that writes them all: below kSmallZeroedSize as the run-time hands
// them out (zeroed false), from there on zeroed pages as from AllocateZeroed (zeroed true).
// Released with ReleaseZeroed.
inline void* AllocateForWriting(std::size_t size, bool& zeroed) noexcept {
    zeroed = size >= kSmallZeroedSize;
    if (size == 0)
        return nullptr;
    return zeroed ? AllocateZeroed(size) : std::malloc(size);
}

} // namespace sc::png
