// Pixel decoding: scanline unfiltering, Adam7 geometry and the row conversions into the DIB.
#pragma once

#include "png/png_vector.h"

#include <cstddef>
#include <cstdint>

namespace sc::png {

class TChunkIHDR;

struct TAdam7Pass {
    std::uint32_t FirstRow, RowStep, FirstColumn, ColumnStep;
};
extern const TAdam7Pass kAdam7Passes[7];

// Bytes of one filtered row (without its filter byte) of that many pixels; 0 for unknown types.
std::size_t PackedRowBytes(std::uint32_t pixels, std::uint8_t colorType, std::uint8_t bitDepth);
// Bytes per complete pixel, the distance the filters look back.
std::uint32_t FilterStrideFor(std::uint8_t colorType, std::uint8_t bitDepth);
// Pixels of one Adam7 pass row (pass 1..7) in an image of that width.
std::uint32_t Adam7PassWidth(int pass, std::uint32_t width);

// The plain loops for pixels of filterStride bytes (other strides than 2, 3, 4, 6 and 8 are taken
// as 1), by filter type as in TRowFunctions: the reference of every other form and the fallback.
void PlainUnfilters(std::uint32_t filterStride, TUnfilterRow (&unfilter)[5]);

// Reverses the filter of src (src[0] the filter type, unknown types leave the row as it is,
// src[1..rowLength] the data) into out (which may be src + 1) with the plain loops; out and above
// hold the data without the filter type.
void UnfilterRowPlain(std::uint8_t* out, const std::uint8_t* src, const std::uint8_t* above,
                      std::size_t rowLength, std::uint32_t filterStride);

// Whether the colour type and bit depth pair has a conversion.
bool HasConversion(std::uint8_t colorType, std::uint8_t bitDepth);

// Converts count pixels of an unfiltered row (src) into the DIB row and the alpha row, pixel k
// landing at column firstColumn + k x columnStep. gamma maps the colour samples of truecolour.
void ConvertRow(std::uint8_t colorType, std::uint8_t bitDepth, const std::uint8_t* src,
                std::uint8_t* dibRow, std::uint8_t* alphaRow, std::uint32_t count,
                std::uint32_t firstColumn, std::uint32_t columnStep, const std::uint8_t* gamma);

// Fills the colour table of greyscale images with a ramp through the gamma curve.
void BuildGreyRamp(TChunkIHDR& header, const std::uint8_t* gamma);

} // namespace sc::png
