// The AVX2 form of UnfilterBand (png_band.h), for processors at TVectorLevel::Avx2 only.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sc::png {

// As UnfilterBand for count 1..kBandRows rows of rowLength 1 .. PTRDIFF_MAX / 2 bytes.
void UnfilterBandAvx2(std::uint8_t* const out[], const std::uint8_t* const src[], int count,
                      const std::uint8_t* above, std::size_t rowLength, std::uint32_t filterStride);

} // namespace sc::png
