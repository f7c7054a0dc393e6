// The decoder's row loops in vector form: unfiltering of whole pixels with SSE2 (the x86-64
// baseline), the truecolour conversions with SSSE3, the CRC with carry-less multiplication
// and bands of rows with AVX2 where the processor has them. The plain
// loops of png_decode.cpp stay the reference and the fallback on every other processor.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sc::png {

// Each level includes the ones before it. Clmul: SSE4.1 and carry-less multiplication, which
// fold the CRC of the image data 64 bytes at a time. Avx2: 32-byte registers, with the system
// saving them on a thread switch; the band kernel (png_band.h) works 31 rows in one of them.
enum class TVectorLevel { Plain, Sse2, Ssse3, Clmul, Avx2 };

// The level the decoder uses: the best the processor offers, unless lowered by SetVectorLevel.
TVectorLevel VectorLevel();
// The best level this build and processor offer.
TVectorLevel SupportedVectorLevel();
// Lowers (or restores) the level for the whole process; a level above the supported one is
// taken as the supported one. For tests that compare the vector routines with the plain ones.
void SetVectorLevel(TVectorLevel level);

// Bytes that UnfilterRowInto and the row conversions may read and write behind a row: every
// buffer they are handed holds that many bytes more than the row.
inline constexpr std::size_t kRowSlack = 16;

// Reverses the filter of src (src[0] the filter type, src[1..rowLength] the data) into
// out[0..rowLength-1], using above, the row above without its filter type (already
// unfiltered). out may be src + 1; above is neither. The same result as UnfilterRowPlain, at the
// given level. Pixels of one byte are written within the row; wider ones may write kRowSlack
// bytes behind it.
void UnfilterRowInto(std::uint8_t* out, const std::uint8_t* src, const std::uint8_t* above,
                     std::size_t rowLength, std::uint32_t filterStride,
                     TVectorLevel level = VectorLevel());

// Reverses the filters of two consecutive rows: src0 into out0 (the row above it is above),
// then src1 into out1 (the row above it is out0). Where both rows are Average or Paeth, they are
// worked in one loop, the second a pixel behind the first, so that their serial chains overlap;
// other pairs go row by row. The same result as two calls of UnfilterRowInto. The outputs are
// distinct from each other, from the sources and from above.
void UnfilterRowPairInto(std::uint8_t* out0, const std::uint8_t* src0, std::uint8_t* out1,
                         const std::uint8_t* src1, const std::uint8_t* above, std::size_t rowLength,
                         std::uint32_t filterStride, TVectorLevel level = VectorLevel());

// The same for three consecutive rows: src[k] into out[k], the row above out[k - 1] (above for
// the first). Where all three are Average rows of single-byte pixels they are worked in one
// loop, each row two blocks of 16 bytes behind the one above it; other groups go as a pair and
// a row. The same result as three calls of UnfilterRowInto.
void UnfilterRowTripleInto(std::uint8_t* const out[3], const std::uint8_t* const src[3],
                           const std::uint8_t* above, std::size_t rowLength,
                           std::uint32_t filterStride, TVectorLevel level = VectorLevel());

// Four consecutive Paeth rows, or three and an Average row, of pixels of 2, 3 or 4 bytes (more
// Average rows go faster in pairs): src[k] into out[k],
// the row above out[k - 1] (above for the first), all four in one loop at TVectorLevel::Avx2,
// each row a pixel or two behind the one above it. out[k] may be src[k] + 1, and nothing behind
// a row is written, so the rows may lie one after another, unfiltered in place; the sources may
// be read up to four bytes behind their rows. Returns false, and writes nothing, for rows it
// does not take (other filter types, strides, levels or rows shorter than kAvx2RowMinPixels).
// Below that many pixels a row, the start and end of the 32-byte loops, where the rows that
// run behind have not started or those ahead have ended, cost more than they gain; pairs of
// 6 and 8 bytes a pixel take the AVX2 loop from there on too.
inline constexpr std::size_t kAvx2RowMinPixels = 12;
bool UnfilterRowQuadInto(std::uint8_t* const out[4], const std::uint8_t* const src[4],
                         const std::uint8_t* above, std::size_t rowLength,
                         std::uint32_t filterStride, TVectorLevel level = VectorLevel());

// 8-bit truecolour into the DIB row without gamma: count pixels of src (red, green, blue and,
// with alpha, the alpha byte) to blue, green, red in dib and alpha in alpha. The bytes behind
// the last pixel of dib and alpha stay as they are; src has kRowSlack bytes behind the row.
void ConvertRgb8(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count,
                 TVectorLevel level = VectorLevel());
// The same for the Adam7 passes that fill every second column: pixel k lands at dib + 6 k; the
// pixels between them stay as they are.
void ConvertRgb8Every2(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count,
                       TVectorLevel level = VectorLevel());
void ConvertRgba8(const std::uint8_t* src, std::uint8_t* dib, std::uint8_t* alpha,
                  std::uint32_t count, TVectorLevel level = VectorLevel());
// The same two for the rows of a bitmap too large to stay in the caches, which nothing reads
// while the image is decoded: the whole aligned 16-byte blocks of dib (and of alpha, when it is
// aligned alike) are written straight to memory, without reading in the lines they replace.
void ConvertRgb8Streaming(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count,
                          TVectorLevel level = VectorLevel());
void ConvertRgba8Streaming(const std::uint8_t* src, std::uint8_t* dib, std::uint8_t* alpha,
                           std::uint32_t count, TVectorLevel level = VectorLevel());

} // namespace sc::png
