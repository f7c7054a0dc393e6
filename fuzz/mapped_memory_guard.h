// What png_fuzz serves in place of the codec's anonymous mappings (see mapped_memory_guard.cpp).
#pragma once

#include <cstddef>

namespace pngfuzz {

// Mappings up to this size come from the sanitizer's heap: every byte around them is watched,
// and the harness may walk every row of such a plane. Larger ones stay lazily committed
// mappings, as in the product, so that a header of up to 65535 x 65535 pixels costs only the
// pages the codec writes. With an image and its copy (two planes each) and the allocator's
// quarantine, the heap then holds well under a gigabyte.
inline constexpr std::size_t kLargestOnHeap = std::size_t{64} << 20;

} // namespace pngfuzz
