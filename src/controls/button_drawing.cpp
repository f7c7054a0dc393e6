#include "controls/button_drawing.h"

#include <cstdint>
#include <cstdlib>

namespace sc::controls {

Rect DrawEdgeLines(PixelSurface& s, Rect r, Colour upperLeft, Colour lowerRight, SideSet sides) {
    if (upperLeft != kNoColour) {
        Colour c = resolveColour(upperLeft);
        if (sides & sideLeft) {
            s.fillRect({r.left, r.top, r.left + 1, r.bottom}, c);
        }
        if (sides & sideTop) {
            s.fillRect({r.left, r.top, r.right, r.top + 1}, c);
        }
    }
    if (lowerRight != kNoColour) {
        Colour c = resolveColour(lowerRight);
        if (sides & sideRight) {
            s.fillRect({r.right - 1, r.top, r.right, r.bottom}, c);
        }
        if (sides & sideBottom) {
            s.fillRect({r.left, r.bottom - 1, r.right, r.bottom}, c);
        }
    }
    if (sides & sideLeft) {
        ++r.left;
    }
    if (sides & sideTop) {
        ++r.top;
    }
    if (sides & sideRight) {
        --r.right;
    }
    if (sides & sideBottom) {
        --r.bottom;
    }
    return r;
}

Rect DrawEdgeRings(PixelSurface& s, Rect r, Colour upperLeft, Colour lowerRight, SideSet sides,
                   int count) {
    for (int i = 0; i < count; ++i) {
        r = DrawEdgeLines(s, r, upperLeft, lowerRight, sides);
    }
    return r;
}

namespace {

Rect twoRings(PixelSurface& s, Rect r, Colour outerUl, Colour outerLr, Colour innerUl,
              Colour innerLr) {
    r = DrawEdgeLines(s, r, outerUl, outerLr, kAllSides);
    return DrawEdgeLines(s, r, innerUl, innerLr, kAllSides);
}

} // namespace

Rect DrawSystemButtonFrame(PixelSurface& s, Rect r, bool pressed) {
    if (pressed) {
        return twoRings(s, r, kBtnText, kBtnText, kBtnShadow, kBtnShadow);
    }
    return twoRings(s, r, kBtnHighlight, k3DDkShadow, k3DLight, kBtnShadow);
}

Rect DrawSunkenFrame(PixelSurface& s, Rect r) {
    return twoRings(s, r, kBtnShadow, kBtnHighlight, k3DDkShadow, k3DLight);
}

Rect DrawTintedButtonFrame(PixelSurface& s, Rect r, Colour c, bool pressed) {
    if (pressed) {
        Colour outer = ShadeDown(c, 100);
        Colour inner = ShadeDown(c, 50);
        return twoRings(s, r, outer, outer, inner, inner);
    }
    return twoRings(s, r, ShadeUp(c, 100), ShadeDown(c, 100), ShadeUp(c, 40), ShadeDown(c, 50));
}

Rect DrawTintedSunkenFrame(PixelSurface& s, Rect r, Colour c) {
    return twoRings(s, r, ShadeDown(c, 50), ShadeUp(c, 100), ShadeDown(c, 100), ShadeUp(c, 50));
}

std::vector<Colour> gradientRows(int height, Colour top, Colour bottom) {
    std::vector<Colour> rows;
    if (height <= 0) {
        return rows;
    }
    top = resolveColour(top);
    bottom = resolveColour(bottom);
    rows.assign(static_cast<std::size_t>(height), 0);
    for (int shift = 0; shift <= 16; shift += 8) {
        // Fixed point with 16 fraction bits, stepping up from the exact bottom colour.
        std::int64_t start = static_cast<std::int64_t>((bottom >> shift) & 0xFF) << 16;
        std::int64_t end = static_cast<std::int64_t>((top >> shift) & 0xFF) << 16;
        std::int64_t step = (end - start) / height;
        for (int y = 0; y < height; ++y) {
            std::int64_t v = (start + static_cast<std::int64_t>(height - 1 - y) * step) >> 16;
            rows[static_cast<std::size_t>(y)] |= static_cast<Colour>(v & 0xFF) << shift;
        }
    }
    return rows;
}

namespace {

// Fills the runs of equal colour from the bottom up, leaving out `hole` (empty: nothing left
// out).
void fillGradient(PixelSurface& s, Rect r, Colour top, Colour bottom, const Rect& hole) {
    if (r.width() <= 0 || r.height() <= 0) {
        return;
    }
    std::vector<Colour> rows = gradientRows(r.height(), top, bottom);
    bool holed = hole.width() > 0 && hole.height() > 0;
    int end = r.height();
    while (end > 0) {
        int start = end - 1;
        while (start > 0 && rows[static_cast<std::size_t>(start - 1)] ==
                                rows[static_cast<std::size_t>(end - 1)]) {
            --start;
        }
        Rect run{r.left, r.top + start, r.right, r.top + end};
        Colour c = rows[static_cast<std::size_t>(end - 1)];
        if (!holed || run.bottom <= hole.top || run.top >= hole.bottom) {
            s.fillRect(run, c);
        } else {
            if (run.top < hole.top) {
                s.fillRect({run.left, run.top, run.right, hole.top}, c);
            }
            if (run.bottom > hole.bottom) {
                s.fillRect({run.left, hole.bottom, run.right, run.bottom}, c);
            }
            int midTop = std::max(run.top, hole.top);
            int midBottom = std::min(run.bottom, hole.bottom);
            s.fillRect({run.left, midTop, hole.left, midBottom}, c);
            s.fillRect({hole.right, midTop, run.right, midBottom}, c);
        }
        end = start;
    }
}

} // namespace

void FillVerticalGradient(PixelSurface& s, Rect r, Colour top, Colour bottom) {
    if (r.left > r.right) {
        std::swap(r.left, r.right);
    }
    if (r.top > r.bottom) {
        std::swap(r.top, r.bottom);
    }
    fillGradient(s, r, top, bottom, {});
}

void DrawGradientRing(PixelSurface& s, Rect r, Colour top, Colour bottom, bool fullColorDisplay) {
    if (!fullColorDisplay) {
        return;
    }
    fillGradient(s, r, top, bottom, r.inflated(-2, -2));
}

void DrawDottedFocus(PixelSurface& s, const Rect& r, Colour colour) {
    const Colour c = resolveColour(colour);
    for (int y = r.top + 1; y < r.bottom; y += 2) {
        s.setPixel(r.left, y, c);
        s.setPixel(r.right - 1, y, c);
    }
    for (int x = r.left + 1; x < r.right; x += 2) {
        s.setPixel(x, r.top, c);
        s.setPixel(x, r.bottom - 1, c);
    }
}

std::array<Rect, 3> parentCornerExclusions(const Rect& client, bool enabled) {
    Rect a = client.inflated(enabled ? -1 : -2, enabled ? -1 : -2);
    Rect b{a.left - 1, a.top + 1, a.right + 1, a.bottom - 1};
    Rect c{b.left + 2, b.top - 2, b.right - 2, b.bottom + 2};
    return {a, b, c};
}

std::array<Colour, 64> downPattern(Colour face) {
    Colour base = resolveColour(face);
    Colour dots = base == kSilver ? kGray : kSilver;
    std::array<Colour, 64> p{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            p[static_cast<std::size_t>(y * 8 + x)] = (x % 2 == y % 2) ? dots : base;
        }
    }
    return p;
}

namespace {

// The classic look's rings in a contrast theme: as many as the standard look has, the outer
// ones in the button-text colour, the inner one too where the button is pressed or down.
Rect paintContrastLook(PixelSurface& s, const Rect& client, const ClassicLook& look) {
    Rect r = client;
    if (look.defaultFrame) {
        r = DrawEdgeLines(s, r, kBtnText, kBtnText, kAllSides);
    }
    r = DrawEdgeLines(s, r, kBtnText, kBtnText, kAllSides);
    const Colour inner = look.pressed || look.sunken ? kBtnText : kBtnFace;
    r = DrawEdgeLines(s, r, inner, inner, kAllSides);
    s.fillRect(r, resolveColour(kBtnFace));
    return r;
}

} // namespace

Rect paintClassicLook(PixelSurface& s, const Rect& client, const ClassicLook& look) {
    if (look.contrast) {
        return paintContrastLook(s, client, look);
    }
    Rect r = client;
    if (look.defaultFrame) {
        r = DrawEdgeLines(s, r, kWindowFrame, kWindowFrame, kAllSides);
    }
    if (look.color == kBtnFace) {
        if (!look.grouped) {
            r = DrawSystemButtonFrame(s, r, look.pressed);
        } else if (look.sunken) {
            r = DrawSunkenFrame(s, r);
        } else {
            r = DrawSystemButtonFrame(s, r, false);
        }
    } else if (!look.grouped) {
        r = DrawTintedButtonFrame(s, r, look.color, look.pressed);
    } else if (look.sunken) {
        r = DrawTintedSunkenFrame(s, r, look.color);
    } else {
        r = DrawTintedButtonFrame(s, r, look.color, false);
    }
    s.fillRect(r, resolveColour(look.color));
    return r;
}

Rect paintHotTrackLook(PixelSurface& s, const Rect& client, const HotTrackLook& look) {
    const int L = client.left, T = client.top, Rt = client.right, B = client.bottom;
    Colour upper = resolveColour(look.parentColor);
    Colour lower = upper;
    if (look.enabled) {
        upper = ShadeDown(look.parentColor, 20);
        lower = ShadeUp(look.parentColor, 20);
    }
    // Outer frame with rounded corners.
    s.fillRect({L, T + 2, L + 1, B - 2}, upper);
    s.fillRect({L + 2, T, Rt - 2, T + 1}, upper);
    s.fillRect({Rt - 1, T + 2, Rt, B - 2}, lower);
    s.fillRect({L + 2, B - 1, Rt - 2, B}, lower);
    s.setPixel(L + 1, T + 1, upper);
    s.setPixel(Rt - 2, T + 1, upper);
    s.setPixel(L + 1, B - 2, upper);
    s.setPixel(Rt - 2, B - 2, lower);
    Rect r = client.inflated(-1, -1);

    // Inner frame without its corner pixels.
    Colour inner = resolveColour(look.frameColor);
    if (!look.enabled) {
        inner = look.color == kBtnFace ? ShadeUp(kBtnShadow, 30) : ShadeDown(look.color, 80);
    }
    s.fillRect({r.left, r.top + 1, r.left + 1, r.bottom - 1}, inner);
    s.fillRect({r.left + 1, r.top, r.right - 1, r.top + 1}, inner);
    s.fillRect({r.right - 1, r.top + 1, r.right, r.bottom - 1}, inner);
    s.fillRect({r.left + 1, r.bottom - 1, r.right - 1, r.bottom}, inner);
    r = r.inflated(-1, -1);

    if (!look.enabled) {
        s.fillRect(r, resolveColour(look.color));
        return r;
    }
    if (look.sunken) {
        s.fillRect(r, ShadeDown(look.color, 10));
        return r;
    }
    s.fillRect({r.left, r.bottom - 2, r.right, r.bottom - 1}, ShadeDown(look.color, 20));
    s.fillRect({r.left, r.bottom - 1, r.right, r.bottom}, ShadeDown(look.color, 30));
    Rect upperFace{r.left, r.top, r.right, r.bottom - 2};
    if (look.fullColorDisplay) {
        FillVerticalGradient(s, upperFace, ShadeUp(look.color, 30), ShadeDown(look.color, 10));
    } else {
        s.fillRect(upperFace, resolveColour(look.color));
    }

    switch (look.ring) {
    case HotTrackLook::Ring::hot: {
        Colour top = MixColors(kWhite, look.hotTrackColor, 190);
        Colour bottom = resolveColour(look.hotTrackColor);
        if (look.complementRing) {
            top = OppositeHueColor(look.hotTrackColor, 180);
            bottom = ShadeDown(top, 30);
        }
        DrawGradientRing(s, r, top, bottom, look.fullColorDisplay);
        break;
    }
    case HotTrackLook::Ring::highlight: {
        Colour h = look.highlightColor;
        if (NearColors(h, kBtnFace)) {
            h = ShadeDown(h, 30);
        }
        Colour g = ShadeUp(look.color, 30);
        DrawGradientRing(s, r, MixColors(h, g, 60), MixColors(h, g, 160), look.fullColorDisplay);
        break;
    }
    case HotTrackLook::Ring::none:
        break;
    }
    return r;
}

} // namespace sc::controls
