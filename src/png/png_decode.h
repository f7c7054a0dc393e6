// Pixel decoding: scanline unfiltering, Adam7 geometry and the row conversions into the DIB.
#pragma once

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

std::uint8_t PaethPick(std::uint8_t a, std::uint8_t b, std::uint8_t c);
// Reverses the filter of row (row[0] the filter type, row[1..rowLength] the data) in place,
// using previous (laid out the same way).
void UnfilterRow(std::uint8_t* row, const std::uint8_t* previous, std::size_t rowLength,
                 std::uint32_t filterStride);

// The same with the plain loops alone, from src into out (which may be src + 1); out and above
// hold the data without the filter type.
void UnfilterRowPlain(std::uint8_t* out, const std::uint8_t* src, const std::uint8_t* above,
                      std::size_t rowLength, std::uint32_t filterStride);

// Whether the colour type and bit depth pair has a conversion.
bool HasConversion(std::uint8_t colorType, std::uint8_t bitDepth);

// Converts count pixels of an unfiltered row (src) into the DIB row and the alpha row, pixel k
// landing at column firstColumn + k x columnStep. gamma maps the colour samples of truecolour.
// streamRows: the rows belong to a bitmap too large for the caches and are not read while the
// image is decoded; whole rows of 8-bit truecolour then go around the caches (the same bytes).
void ConvertRow(std::uint8_t colorType, std::uint8_t bitDepth, const std::uint8_t* src,
                std::uint8_t* dibRow, std::uint8_t* alphaRow, std::uint32_t count,
                std::uint32_t firstColumn, std::uint32_t columnStep, const std::uint8_t* gamma,
                bool streamRows = false);

// Fills the colour table of greyscale images with a ramp through the gamma curve.
void BuildGreyRamp(TChunkIHDR& header, const std::uint8_t* gamma);

} // namespace sc::png
