// Zeroed memory straight from the operating system: pages are committed only when touched, so a
// large bitmap that is never written costs neither memory nor time.
#pragma once

#include <cstddef>

namespace sc::png {

// Below this size the run-time's zeroing allocator serves: a page mapping costs more than the
// few bytes it would save.
inline constexpr std::size_t kSmallZeroedSize = 128 * 1024;

// size bytes of zeroed memory, or nullptr when the system refuses; size 0 gives nullptr.
void* AllocateZeroed(std::size_t size) noexcept;
void ReleaseZeroed(void* memory, std::size_t size) noexcept;

} // namespace sc::png
