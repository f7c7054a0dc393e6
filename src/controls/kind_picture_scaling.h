// The kind pictures of glyph buttons at the size a DPI asks for. A kind picture is a row of
// square pictures (normal and disabled) on a key colour, the colour of its bottom-left pixel,
// which the button leaves out. Platform-neutral.
#pragma once

#include <cstdint>
#include <vector>

namespace sc::controls {

// Pixels as 0x00RRGGBB, rows top-down.
struct KeyedPicture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

// The row of square pictures brought to pictures of side x side, each on its own: an equal side
// is copied; a larger one is resampled with the area filter, the key taken as transparent and
// every target pixel at least half covered taking the averaged colour, the others the key; a
// smaller one is placed in the middle on the key, never enlarged. The bottom-left pixel keeps
// the key. A source that is not a row of squares, or a side outside 1 ... 1024, gives an empty
// picture.
KeyedPicture FitKeyedPictures(const KeyedPicture& source, int side);

} // namespace sc::controls
