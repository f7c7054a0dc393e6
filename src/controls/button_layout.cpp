#include "controls/button_layout.h"

#include "graphics/dpi_scale.h"

namespace sc::controls {

Look chooseLook(bool useThemes, bool hotTrack) {
    if (useThemes) {
        return Look::themed;
    }
    return hotTrack ? Look::hotTrack : Look::classic;
}

ThemedState themedState(const ThemedStateInput& in) {
    if (!in.enabled) {
        return pbsDisabled;
    }
    if (in.down || in.showPressed) {
        return pbsPressed;
    }
    if (in.mouseOver) {
        return pbsHot;
    }
    if (!in.grouped && (in.active || in.focused)) {
        return pbsDefaulted;
    }
    return pbsNormal;
}

namespace {

Rect client(const ButtonGeometry& g) {
    return {0, 0, g.width, g.height};
}

TButtonLayout effectiveLayout(const ButtonGeometry& g) {
    return g.rightToLeft && g.layout == blGlyphLeft ? blGlyphRight : g.layout;
}

// Picture, caption and spacing leave this much free height (halved, truncating toward zero).
int measuredOffset(const ButtonGeometry& g) {
    return (g.height - (g.glyphHeight + g.captionHeight + g.spacing)) / 2;
}

} // namespace

int scaledMargin(int margin, int dpi) {
    return margin < 0 ? margin : tk::scaleToDpi(margin, dpi);
}

int scaledSpacing(int spacing, int dpi) {
    return tk::scaleToDpi(spacing, dpi);
}

Rect focusRect(const ButtonGeometry& g) {
    int inset = g.hotTrack || g.useThemes ? 3 : 4;
    Rect f = client(g).inflated(-inset, -inset);
    if (g.grouped && (g.down || g.showPressed)) {
        f = f.moved(1, 1);
    }
    return f;
}

Rect plainCaptionRect(const ButtonGeometry& g) {
    Rect r = client(g).inflated(-5, -5);
    if (!g.hotTrack && !g.useThemes && (g.showPressed || (g.grouped && g.down))) {
        r = r.moved(1, 1);
    }
    return r;
}

Rect captionRect(const ButtonGeometry& g) {
    Rect r = plainCaptionRect(g);
    if (!g.hasPicture) {
        return r;
    }
    TButtonLayout layout = effectiveLayout(g);
    if (g.margin >= 0 || layout == blGlyphLeft || layout == blGlyphRight) {
        int m = g.margin >= 0 ? g.margin : -1;
        switch (layout) {
        case blGlyphLeft:
            r.left += m + g.glyphWidth + g.spacing;
            break;
        case blGlyphRight:
            r.right -= m + g.glyphWidth + g.spacing;
            break;
        case blGlyphTop:
            r.top += m + g.glyphHeight + g.spacing;
            break;
        case blGlyphBottom:
            r.bottom -= m + g.glyphHeight + g.spacing;
            break;
        }
        return r;
    }
    int d = measuredOffset(g);
    if (layout == blGlyphTop) {
        r.top += d + g.glyphHeight;
    } else {
        r.top += d;
    }
    r.bottom = r.top + g.captionHeight;
    return r;
}

Rect glyphRect(const ButtonGeometry& g) {
    Rect r = plainCaptionRect(g);
    if (g.showPressed) {
        r = g.useThemes ? r.moved(-1, 0) : r.moved(-1, -1);
    }
    TButtonLayout layout = effectiveLayout(g);
    if (g.margin >= 0) {
        switch (layout) {
        case blGlyphLeft:
            r.left += g.margin;
            break;
        case blGlyphRight:
            r.left = r.right - g.margin - g.glyphWidth;
            break;
        case blGlyphTop:
            r.top += g.margin;
            break;
        case blGlyphBottom:
            r.top = r.bottom - g.margin - g.glyphHeight;
            break;
        }
    } else {
        switch (layout) {
        case blGlyphLeft:
            break;
        case blGlyphRight:
            r.left = r.right - g.glyphWidth;
            break;
        case blGlyphTop:
            r.top = measuredOffset(g);
            break;
        case blGlyphBottom:
            r.top += g.captionHeight + measuredOffset(g);
            break;
        }
    }
    if (layout == blGlyphLeft || layout == blGlyphRight) {
        r.top += (r.bottom - r.top - g.glyphHeight + 1) / 2;
    } else {
        r.left += (r.right - r.left - g.glyphWidth + 1) / 2;
    }
    r.right = r.left + g.glyphWidth;
    r.bottom = r.top + g.glyphHeight;
    if (g.showPressed) {
        r = g.useThemes ? r.moved(2, 0) : r.moved(1, 1);
    }
    return r;
}

Rect textRect(const Rect& caption, int h, TAlignmentVertical alignment) {
    Rect t = caption;
    switch (alignment) {
    case avTop:
        t.bottom = t.top + h;
        break;
    case avCenter:
        t.top = (caption.top + caption.bottom - h) / 2;
        t.bottom = t.top + h;
        break;
    case avBottom:
        t.top = caption.bottom - h - 1;
        break;
    }
    return t;
}

} // namespace sc::controls
