// PNG images at another scale: any decoded image read as straight RGBA, an RGBA image made from
// such pixels, and the pictures of a stored image list at the size a DPI asks for.
// Platform-neutral.
#pragma once

#include "graphics/area_resample.h"
#include "graphics/image_list_definition.h"
#include "png/png_image.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace sc::png {

// The straight RGBA bytes of pixels [x0, x1) of row y (inside the image): the colour of the
// pixel and its alpha from the alpha plane, the tRNS alpha of its palette entry, 0 on the key
// colour or else 255. Raises EPngError for a palette index beyond the PLTE entries, as drawing
// does.
void ReadRgbaPixels(const TPNGObject& image, int y, int x0, int x1, std::uint8_t* out);
// The image as rows for the resampler; 0 x 0 when it has no pixels.
gfx::RgbaRows RgbaRowsOf(const TPNGObject& image);

// An 8-bit RGBA image of width x height from straight RGBA bytes (width x height x 4 of them).
std::unique_ptr<TPNGObject> RgbaPng(int width, int height, std::span<const std::uint8_t> rgba);

// The image brought to width x height: an image of that size is copied, a larger one resampled
// down with the area filter, any other placed at its own size in the middle of a transparent
// picture (cut at its edges); never enlarged.
std::unique_ptr<TPNGObject> FitPng(const TPNGObject& image, int width, int height);

// The pictures of a stored list at a DPI: the design size scaled by dpi / 96, filled from the set
// that ChoosePictureSet picks among the design set and the scaled ones. Only the chosen set's
// files are decoded. At 96 DPI: the design set as stored.
struct TListPictures {
    int width = 0, height = 0;
    std::vector<std::unique_ptr<TPNGObject>> images; // in the order of the stored pictures
};
TListPictures ReadListPictures(const tk::PngImageListDefinition& definition, int dpi);

} // namespace sc::png
