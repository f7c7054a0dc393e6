#include "about/about_logo.h"

#include "graphics/dpi_scale.h"
#include "png/png_image.h"
#include "png/png_scaled_draw_win32.h"
#include "toolkit/form.h"

namespace sc {

namespace {

// Restores the device context's state however the drawing ends.
class SavedDc {
  public:
    explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDc() { RestoreDC(dc_, saved_); }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

  private:
    HDC dc_;
    int saved_;
};

} // namespace

void TAboutLogo::paint(HDC dc) {
    const int dpi = form().Dpi();
    const auto* png = dynamic_cast<const png::TPNGObject*>(Picture().Graphic());
    if (dpi == tk::kDesignDpi || !png || png->Empty()) {
        tk::TImage::paint(dc);
        return;
    }
    const tk::TRect area{left(), top(), left() + width(), top() + height()};
    SavedDc saved(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    png::DrawPngScaled(*png, dc, area, dpi);
}

} // namespace sc
