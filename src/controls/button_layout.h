// Where the glyph button puts its focus rectangle, caption and picture, which look it uses and
// which state of the platform's push-button theme part it asks for.
#pragma once

#include "controls/button_drawing.h"

namespace sc::controls {

enum class Look { themed, classic, hotTrack };
Look chooseLook(bool useThemes, bool hotTrack);

// The push-button theme part's states.
enum ThemedState : int {
    pbsNormal = 1,
    pbsHot = 2,
    pbsPressed = 3,
    pbsDisabled = 4,
    pbsDefaulted = 5
};
struct ThemedStateInput {
    bool enabled = true, down = false, showPressed = false, mouseOver = false, grouped = false,
         active = false, focused = false;
};
ThemedState themedState(const ThemedStateInput& in);

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TAlignmentVertical { avTop, avCenter, avBottom };

struct ButtonGeometry {
    int width = 75, height = 25; // the control's size
    bool hotTrack = false;
    bool useThemes = false;
    bool showPressed = false;
    bool grouped = false; // GroupIndex is not 0
    bool down = false;    // grouped and Down
    bool rightToLeft = false;
    bool hasPicture = false; // an image-list picture or a Glyph
    int glyphWidth = 0, glyphHeight = 0;
    TButtonLayout layout = blGlyphLeft;
    int margin = 2;
    int spacing = 4;
    int captionHeight = 0; // measured height of the caption, used with Margin -1
};

// Margin and Spacing of a button on a form laid out at `dpi` (MulDiv by dpi / 96). Margin -1
// (measured placement) is a mode, not a distance, and stays -1. Frames, focus dots and the
// insets they take stay as many pixels wide as at 96 DPI.
int scaledMargin(int margin, int dpi);
int scaledSpacing(int spacing, int dpi);

Rect focusRect(const ButtonGeometry& g);
// The caption rectangle of a button without a picture.
Rect plainCaptionRect(const ButtonGeometry& g);
// The caption rectangle beside the picture.
Rect captionRect(const ButtonGeometry& g);
Rect glyphRect(const ButtonGeometry& g);
// Where a caption of height h goes inside its rectangle.
Rect textRect(const Rect& caption, int h, TAlignmentVertical alignment);

} // namespace sc::controls
