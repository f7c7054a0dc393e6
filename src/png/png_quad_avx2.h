// Rows with a serial chain several at once in one 32-byte register, for processors at
// TVectorLevel::Avx2 only: four Average or Paeth rows of pixels of 2, 3 or 4 bytes, or two Paeth
// rows of pixels of 6 or 8 bytes. Each row runs behind the one above it, so that its pixel above
// comes from a register.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sc::png {

// Four consecutive rows: d[k] gets row k of raw bytes r[k] (its filter type, Average when bit k
// of averages is set, Paeth otherwise, not included); the row above row 0 is q, the row above row
// k is d[k - 1]. rowLength is a whole number of pixels of stride 2, 3 or 4 bytes. d[k] may be
// r[k] and ends where the row does: nothing behind it is written. r[k] and q may be read up to
// four bytes past the row's end.
void UnfilterQuadAvx2(std::uint8_t* const d[4], const std::uint8_t* const r[4],
                      const std::uint8_t* q, std::size_t rowLength, unsigned stride,
                      unsigned averages);

// The same for two Paeth rows of pixels of 6 or 8 bytes.
void UnfilterPairAvx2(std::uint8_t* const d[2], const std::uint8_t* const r[2],
                      const std::uint8_t* q, std::size_t rowLength, unsigned stride);

} // namespace sc::png
