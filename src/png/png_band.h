// Unfiltering a band of consecutive rows at once. Average and Paeth rows carry a serial chain
// along the row, so one row alone runs at that chain's latency; a band works its rows side by
// side in two SSE2 registers, one row per byte lane, each row a column behind the one above it.
#pragma once

#include "png/png_vector.h"

#include <cstddef>
#include <cstdint>

namespace sc::png {

// The most rows UnfilterBand takes at once.
inline constexpr int kBandRows = 31;

// Reverses the filters of count consecutive rows (1..kBandRows): src[k][0] is row k's filter type
// (unknown types leave the row as it is, as with None), src[k] + 1 its rowLength bytes; out[k]
// receives the unfiltered row; the row above out[0] is above (all zeros for the image's first row),
// the row above out[k] is out[k - 1]. out[k] may be src[k] + 1, otherwise outputs, sources and
// above are distinct. Reads only src[k][0 .. rowLength], above[0 .. rowLength - 1]; writes only
// out[k][0 .. rowLength - 1]. Same result as count calls of UnfilterRowPlain. Needs Sse2 (at
// level Plain it goes row by row with the plain loops); at Avx2 the band fits one register. A
// larger count is taken as successive bands.
void UnfilterBand(std::uint8_t* const out[], const std::uint8_t* const src[], int count,
                  const std::uint8_t* above, std::size_t rowLength, std::uint32_t filterStride,
                  TVectorLevel level = VectorLevel());

// Whether UnfilterBand is likely faster for these rows (src as above) than the pair and triple
// routines and UnfilterRowInto. A band costs about the same for every filter type, Paeth a
// third more, and that cost per byte rises as it has fewer rows (its lanes stay empty) or
// shorter ones (its first and last blocks are staged). Single-byte pixels gain whenever most
// rows have a serial chain; wider pixels, which the row routines already work a pixel at a
// time, only with enough Paeth rows: a quarter of them at 2 bytes, half at 3, three quarters at
// 4, never at 6 or 8. At Avx2, bands of 16 rows or more of single-byte pixels are weighed
// instead by the measured costs of the band and of the row routines for each filter type.
bool BandPays(const std::uint8_t* const src[], int count, std::size_t rowLength,
              std::uint32_t filterStride, TVectorLevel level = VectorLevel());

} // namespace sc::png
