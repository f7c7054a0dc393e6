// Drawing primitives of the glyph buttons over a plain pixel surface: edge lines and two-pixel
// frames, vertical gradients and rings, the dotted focus rectangle, and the whole frame-and-face
// painting of the classic and hot-track looks. Colours reach the surface resolved (0x00BBGGRR).
#pragma once

#include "controls/button_colours.h"
#include "graphics/rect.h"

#include <array>
#include <vector>

namespace sc::controls {

// What the primitives draw on: a window canvas, a memory bitmap, a test's pixel grid.
class PixelSurface {
  public:
    virtual ~PixelSurface() = default;
    // Fills the rectangle (nothing when empty) with a resolved colour.
    virtual void fillRect(const Rect& r, Colour c) = 0;
    virtual void setPixel(int x, int y, Colour c) { fillRect({x, y, x + 1, y + 1}, c); }
};

enum Side : unsigned { sideLeft = 1, sideTop = 2, sideRight = 4, sideBottom = 8 };
using SideSet = unsigned;
inline constexpr SideSet kAllSides = 15;

Rect DrawEdgeLines(PixelSurface& s, Rect r, Colour upperLeft, Colour lowerRight, SideSet sides);
Rect DrawEdgeRings(PixelSurface& s, Rect r, Colour upperLeft, Colour lowerRight, SideSet sides,
                   int count);
Rect DrawSystemButtonFrame(PixelSurface& s, Rect r, bool pressed);
Rect DrawSunkenFrame(PixelSurface& s, Rect r);
Rect DrawTintedButtonFrame(PixelSurface& s, Rect r, Colour c, bool pressed);
Rect DrawTintedSunkenFrame(PixelSurface& s, Rect r, Colour c);

// The row colours of a vertical gradient of `height` rows, top row first.
std::vector<Colour> gradientRows(int height, Colour top, Colour bottom);
void FillVerticalGradient(PixelSurface& s, Rect r, Colour top, Colour bottom);
// The gradient on the two-pixel ring of r only; nothing without a full-colour display.
void DrawGradientRing(PixelSurface& s, Rect r, Colour top, Colour bottom, bool fullColorDisplay);
// Dots in `colour` on every other pixel of the border of r.
void DrawDottedFocus(PixelSurface& s, const Rect& r, Colour colour = kBlack);

// The three rectangles whose outside shows the parent's image in the hot-track look: for an
// enabled button the three pixels of each corner.
std::array<Rect, 3> parentCornerExclusions(const Rect& client, bool enabled);

// The 8 x 8 pattern of a grouped button that is down, row by row.
std::array<Colour, 64> downPattern(Colour face);

struct ClassicLook {
    bool defaultFrame = false; // the black frame of the default or clicking button
    Colour color = kBtnFace;
    bool grouped = false;
    bool sunken = false;  // grouped and (down or showPressed)
    bool pressed = false; // showPressed
    // A contrast theme: the frames in the button-text colour on the face colour, whatever the
    // button's own colour.
    bool contrast = false;
};
// Frames and face of the classic look; returns the face rectangle.
Rect paintClassicLook(PixelSurface& s, const Rect& client, const ClassicLook& look);

struct HotTrackLook {
    bool enabled = true;
    Colour parentColor = kBtnFace;
    Colour color = kBtnFace;
    Colour frameColor = k3DDkShadow;
    bool sunken = false; // down or showPressed
    bool fullColorDisplay = true;
    enum class Ring { none, hot, highlight } ring = Ring::none;
    Colour hotTrackColor = 0x149BF0;
    bool complementRing = false; // htctComplement
    Colour highlightColor = kHighlight;
};
// Frames, face and ring of the hot-track look; returns the face rectangle.
Rect paintHotTrackLook(PixelSurface& s, const Rect& client, const HotTrackLook& look);

} // namespace sc::controls
