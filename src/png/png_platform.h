// The operations of TPNGObject that need the platform's graphics: drawing, system palettes and
// assignment from the platform's bitmaps. The Windows layer installs its implementation with
// the picture format (png_picture_format_win32.h); without one an image refuses to draw, has no
// system palette and takes only PNG images.
#pragma once

#include "graphics/graphic.h"

namespace sc::png {

class TChunkIHDR;
class TPNGObject;

class TPngPlatform {
  public:
    virtual ~TPngPlatform() = default;
    // As TPNGObject::Draw, for an image with pixels.
    virtual void Draw(const TPNGObject& image, tk::TCanvas& canvas, const tk::TRect& rect) = 0;
    // A system palette of the colour table, and the way back: up to 256 of its entries into the
    // colour table.
    virtual tk::TPaletteHandle MakePalette(const TChunkIHDR& header) = 0;
    virtual void ReadPalette(tk::TPaletteHandle palette, TChunkIHDR& header) = 0;
    virtual void DeletePalette(tk::TPaletteHandle palette) = 0;
    // Makes image a copy of source when source is one of the platform's bitmaps; false, and
    // image untouched, for any other graphic.
    virtual bool Assign(TPNGObject& image, const tk::TGraphic& source) = 0;
};

// The platform of every image from now on (nullptr: none). The palettes an image already made
// are deleted by the platform that made them.
void SetPngPlatform(TPngPlatform* platform);
TPngPlatform* PngPlatform();

} // namespace sc::png
