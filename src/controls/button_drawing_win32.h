// The drawing primitives over a device context, and the few that need the platform: the
// parent's image behind a control, a bitmap drawn with one colour left out.
#pragma once

#include "controls/button_drawing.h"

#include <windows.h>

namespace sc::controls {

// The system colours from the platform (installed once by the button library).
void useSystemColours();

// A PixelSurface over a device context.
class DcSurface : public PixelSurface {
  public:
    explicit DcSurface(HDC dc) : dc_(dc) {}
    void fillRect(const Rect& r, Colour c) override;
    void setPixel(int x, int y, Colour c) override;

  private:
    HDC dc_;
};

inline RECT toRECT(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Paints the parent window's image behind `control` into `dc` (the control's client
// coordinates), through the parent's erase and print-client requests.
void PaintParentImage(HWND control, HDC dc, bool invalidateParent);

// Draws the `source` part of `bitmap` onto `dc` at `dest`, leaving out pixels of colour `key`.
void DrawKeyedBitmap(HDC dc, HBITMAP bitmap, const Rect& dest, Colour key, const Rect& source);

} // namespace sc::controls
