// The gamma curve of a gAMA value, as the palette, grey ramp and truecolour samples use it.
#pragma once

#include <array>
#include <cstdint>

namespace sc::png {

// round(255 x (i / 255) ^ (1 / (value / 100000 x 2.2))) for i = 0..255, as computed in extended
// precision with ties to even. The last sixteen curves are kept per thread.
std::array<std::uint8_t, 256> GammaCurveFor(std::uint32_t value);

// The same curve, every level in extended precision: the reference of the fast path above.
std::array<std::uint8_t, 256> GammaCurveExtended(std::uint32_t value);

} // namespace sc::png
