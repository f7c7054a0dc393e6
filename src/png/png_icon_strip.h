// A row of equally sized pictures in one colour bitmap and one mask bitmap, made from PNG
// images as the platform's icons of them would look, and added to a platform image list in a
// single call (far cheaper than one icon per picture).
#pragma once

#include "png/png_image.h"
#include "toolkit/colours.h"
#include "toolkit/handles.h"

#include <commctrl.h>

#include <cstdint>

namespace sc::png {

class IconStrip {
  public:
    // Room for `count` pictures of width x height; `version` is the common-controls version
    // (major x 65536 + minor) whose icons the pictures copy.
    IconStrip(int width, int height, int count, int version);
    IconStrip(const IconStrip&) = delete;
    IconStrip& operator=(const IconStrip&) = delete;
    ~IconStrip();

    // Whether the strip gives `png` the pixels of its own icon in a width x height list.
    static bool Fits(const TPNGObject& png, int width, int height) {
        return png.Width() == width && png.Height() == height;
    }

    bool Ok() const { return colourBits_ != nullptr && maskBits_ != nullptr; }
    // Puts picture `slot`: from 6.0 on the image's colours with its own alpha over an opaque
    // mask; before, the image drawn over `background`, transparent (mask set, colour black)
    // where its alpha is 0 or on its key colour. An image larger than the slot is cut.
    void Put(int slot, const TPNGObject& png, tk::TColor background);
    // Appends all pictures to the list; false when the platform refuses.
    bool AddTo(HIMAGELIST list) const;

    // 0xAARRGGBB of the colour bitmap and whether the mask is set, at (x, y) of the strip.
    std::uint32_t ColourAt(int x, int y) const { return colourBits_[Index(x, y)]; }
    bool MaskedAt(int x, int y) const { return (maskBits_[Index(x, y)] & 0xFFFFFF) != 0; }

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(stripWidth_) +
               static_cast<std::size_t>(x);
    }

    int width_, height_, stripWidth_, version_;
    tk::UniqueMemoryDc dc_;
    tk::UniqueBitmap colour_, mask_;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* colourBits_ = nullptr;
    std::uint32_t* maskBits_ = nullptr;
};

} // namespace sc::png
