// Drawing PNG images with the disabled looks, platform icons from PNG images, and PNG images
// from toolkit bitmaps and icons. Windows only.
#pragma once

#include "png/png_functions.h"
#include "toolkit/bitmap.h"
#include "toolkit/canvas.h"

#include <memory>

namespace sc::png {

// Draws png onto the canvas in rect. With options, a copy is drawn: its alpha halved
// (pngBlendOnDisabled) and/or its colours turned grey (pngGrayscaleOnDisabled); png itself is
// never changed.
void DrawPngImage(TPNGObject& png, tk::TCanvas& canvas, const tk::TRect& rect, TPngOptions options);

// A new icon (the caller destroys it) of the image. Common controls 6.0 or later get a 32-bit
// colour bitmap with the image's own alpha; older ones a picture blended over background with a
// mask transparent where alpha is 0 (or on the key colour).
HICON PngToIcon(const TPNGObject& png, tk::TColor background);
// The same for a given common-controls version (major x 65536 + minor).
HICON PngToIconForVersion(const TPNGObject& png, tk::TColor background, int version);

// Which common-controls library the platform icons are made for.
class CommonControlsInfo {
  public:
    virtual ~CommonControlsInfo() = default;
    // major x 65536 + minor; -1 when unknown.
    virtual int Version() const = 0;
};
// The version of comctl32.dll from its file version information, read once.
const CommonControlsInfo& SystemCommonControls();
// Puts `info` in place of the system's answer (nullptr restores it); `info` must outlive its use.
void SetCommonControlsInfo(const CommonControlsInfo* info);
// The answer of the current source; PngToIcon and the image lists ask it.
int CommonControlsVersion();

// A new PNG image of the graphic: a copy of a PNG image; the pixels of a bitmap (its transparent
// colour, compared as given, as alpha 0) or of an icon (its mask or its own alpha); a black image
// for others.
std::unique_ptr<TPNGObject> GraphicToPng(const tk::TGraphic& source);
// The colour bitmap's pixels with alpha from the red component of the mask's pixels (255 minus
// it when inverse).
std::unique_ptr<TPNGObject> BitmapAndMaskToPng(const tk::TBitmap& colour, const tk::TBitmap& mask,
                                               bool inverse);
// The bitmap's pixels, alpha 0 where the pixel equals key exactly and 255 elsewhere: the key is
// compared as given, so clNone and system colours match no pixel.
std::unique_ptr<TPNGObject> BitmapKeyToPng(const tk::TBitmap& bitmap, tk::TColor key);

// The NT family in a version above 5.0.
bool IsWindowsXPOrLater();

} // namespace sc::png
