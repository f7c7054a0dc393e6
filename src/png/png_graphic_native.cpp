// The graphic operations that need a platform, in builds without one: drawing is refused,
// palettes are none and only PNG images can be assigned.
#include "png/png_image.h"

namespace sc::png {

void TPNGObject::Draw(tk::TCanvas&, const tk::TRect&) {
    if (!FindHeader())
        return;
    RaiseError<EPngError>("This build cannot draw.");
}

tk::TPaletteHandle TPNGObject::Palette() {
    HeaderChunk();
    return nullptr;
}

void TPNGObject::SetPalette(tk::TPaletteHandle) {}

void TPNGObject::ReleaseSystemPalette() {
    SystemPalette = nullptr;
}

void TPNGObject::AssignOther(const tk::TGraphic& source) {
    TGraphic::Assign(source);
}

} // namespace sc::png
