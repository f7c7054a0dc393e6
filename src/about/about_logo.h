// The About window's logo: an image control that shows the picture at its own size, centred and
// cut off at its edges, at 96 DPI exactly as the toolkit's image control does; at other DPIs
// the PNG logo is drawn scaled by DPI / 96 with the area filter, centred and cut off the same
// way (Windows only).
#pragma once

#include "toolkit/image.h"

namespace sc {

class TAboutLogo : public tk::TImage {
  public:
    using tk::TImage::TImage;
    void paint(HDC dc) override;
};

} // namespace sc
