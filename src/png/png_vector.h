// The decoder's row functions, chosen once per image by pixel width and the processor's level:
// unfiltering of whole pixels with SSE2 (the x86-64 baseline), bands of rows side by side with
// SSE2 or AVX2, the truecolour conversions with SSSE3. The plain loops of png_decode.cpp stay the
// reference and the fallback on every other processor.
#pragma once

#include <cstddef>
#include <cstdint>

// The x86-64 code paths; every other target builds the plain loops alone.
#if defined(__x86_64__) && defined(__SSE2__)
#define SC_PNG_X86 1
#endif

namespace sc::png {

// Each level includes the ones before it. Clmul: SSE4.1 and carry-less multiplication, which
// fold the CRC of the image data 64 bytes at a time. Avx2: 32-byte registers, with the system
// saving them on a thread switch.
enum class TVectorLevel { Plain, Sse2, Ssse3, Clmul, Avx2 };

// The level the decoder uses: the best the processor offers, unless lowered by SetVectorLevel.
TVectorLevel VectorLevel();
// The best level this build and processor offer.
TVectorLevel SupportedVectorLevel();
// Lowers (or restores) the level for the whole process; a level above the supported one is
// taken as the supported one. For tests that compare the vector routines with the plain ones.
void SetVectorLevel(TVectorLevel level);

// Bytes that the row functions and the row conversions may read and write behind a row: every
// buffer they are handed holds that many bytes more than the row.
inline constexpr std::size_t kRowSlack = 16;

// Reverses one filter type on a row of n bytes: raw holds the filtered bytes (without the filter
// type), above the unfiltered row above; out may be raw, above is neither. Pixels of one byte are
// written within the row; wider ones may write kRowSlack bytes behind it.
using TUnfilterRow = void (*)(std::uint8_t* out, const std::uint8_t* raw, const std::uint8_t* above,
                              std::size_t n);

// The most rows a band takes at once, and the fewest the row loop hands it.
inline constexpr int kBandRows = 31;
inline constexpr int kBandRowsMin = 12;

// Reverses the filters of count consecutive rows (1..kBandRows) side by side: src[k][0] is row
// k's filter type (unknown types leave the row as it is, as with None), src[k] + 1 its rowLength
// bytes; out[k] receives the unfiltered row; the row above out[0] is above, the row above out[k]
// is out[k - 1]. out[k] may be src[k] + 1, otherwise outputs, sources and above are distinct.
// Reads only src[k][0 .. rowLength], above[0 .. rowLength - 1]; writes only
// out[k][0 .. rowLength - 1]. Same result as count rows through the plain loops.
using TUnfilterBand = void (*)(std::uint8_t* const out[], const std::uint8_t* const src[],
                               int count, const std::uint8_t* above, std::size_t rowLength,
                               std::uint32_t filterStride);

// The row functions of one image (or Adam7 pass).
struct TRowFunctions {
    // By filter type: None, Sub, Up, Average, Paeth.
    TUnfilterRow Unfilter[5];
    // Bands for pixels of up to 3 bytes in rows of kBandShortestRow bytes or more; nullptr
    // otherwise, and on plain processors.
    TUnfilterBand Band;

    // Whether a band is worth it for these rows (src as for the band): Average and Paeth carry a
    // serial chain along the row, and so does Sub for pixels this small, so one row alone runs
    // at that chain's latency, and a band, which costs about the same for every filter type, wins
    // where at least half of its rows have such a chain.
    static bool BandPays(const std::uint8_t* const src[], int count);
};

// Below this many bytes a row, a band's staged first and last blocks eat its gain.
inline constexpr std::size_t kBandShortestRow = 64;

// The row functions for rows of rowLength bytes and pixels of filterStride bytes (1, 2, 3, 4, 6
// or 8; other strides are taken as 1) at the given level.
TRowFunctions ChooseRowFunctions(std::uint32_t filterStride, std::size_t rowLength,
                                 TVectorLevel level = VectorLevel());

// The two forms of the band, behind the processor checks of ChooseRowFunctions: the rows one per
// byte lane of two SSE2 registers, or of one AVX2 register (png_band.cpp, png_band_avx2.cpp).
void UnfilterBandSse2(std::uint8_t* const out[], const std::uint8_t* const src[], int count,
                      const std::uint8_t* above, std::size_t rowLength, std::uint32_t filterStride);
void UnfilterBandAvx2(std::uint8_t* const out[], const std::uint8_t* const src[], int count,
                      const std::uint8_t* above, std::size_t rowLength, std::uint32_t filterStride);
// Their first and last blocks of 16 steps, where some lane's columns leave its row, go through
// stage: lane g (0..count: the row above the band, then its rows) works column first - lag[g] of
// its row of length bytes at step first. With in, the lanes' bytes are staged, columns outside
// the row reading as zero; with out instead, lanes 1..count are written back inside their rows.
void CopyBandEdge(const std::uint8_t* const in[], std::uint8_t* const out[],
                  const std::ptrdiff_t lag[], int count, std::ptrdiff_t length,
                  std::ptrdiff_t first, std::uint8_t (&stage)[32][16]);

// 8-bit truecolour into the DIB row without gamma: count pixels of src (red, green, blue and,
// with alpha, the alpha byte) to blue, green, red in dib and alpha in alpha. The bytes behind
// the last pixel of dib and alpha stay as they are; src has kRowSlack bytes behind the row.
void ConvertRgb8(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count,
                 TVectorLevel level = VectorLevel());
void ConvertRgba8(const std::uint8_t* src, std::uint8_t* dib, std::uint8_t* alpha,
                  std::uint32_t count, TVectorLevel level = VectorLevel());

} // namespace sc::png
