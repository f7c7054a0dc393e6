// Zeroed memory straight from the operating system: pages are committed only when touched, so a
// large bitmap that is never written costs neither memory nor time.
#pragma once

#include <cstddef>

namespace sc::png {

// size bytes of zeroed memory, or nullptr when the system refuses; size 0 gives nullptr.
void* AllocateZeroed(std::size_t size) noexcept;
void ReleaseZeroed(void* memory, std::size_t size) noexcept;

} // namespace sc::png
