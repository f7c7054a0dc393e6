// Drawing a PNG image scaled for a DPI with GDI (Windows only).
#pragma once

#include "png/png_image.h"

#include <windows.h>

namespace sc::png {

// Draws the image scaled by dpi / 96 with the area filter over premultiplied alpha, centred in
// area and cut to area and the device's clip box, blended over what lies beneath. Only the
// visible part is resampled, reading only the image pixels under it, so the memory it takes
// follows the visible part, not the image. An image without pixels draws nothing. Raises
// EPNGOutMemory when the system refuses the buffer.
void DrawPngScaled(const TPNGObject& png, HDC dc, const tk::TRect& area, int dpi);

} // namespace sc::png
