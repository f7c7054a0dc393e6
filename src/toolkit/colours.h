// The toolkit's colour values: 0x00BBGGRR, or 0xFF0000nn for system colour nn.
#pragma once

#include "graphics/colour.h"

#include <windows.h>

namespace tk {

using TColor = sc::Colour;

inline constexpr TColor clNone = sc::kNoColour;
inline constexpr TColor clBlack = sc::kBlack;
inline constexpr TColor clWhite = sc::kWhite;
inline constexpr TColor clGray = sc::kGray;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor kSystemColourFlag = sc::kSystemColour;
inline constexpr TColor clWindow = kSystemColourFlag | COLOR_WINDOW;
inline constexpr TColor clWindowText = kSystemColourFlag | COLOR_WINDOWTEXT;
inline constexpr TColor clBtnFace = kSystemColourFlag | COLOR_BTNFACE;
inline constexpr TColor clBtnShadow = kSystemColourFlag | COLOR_BTNSHADOW;
inline constexpr TColor clBtnHighlight = kSystemColourFlag | COLOR_BTNHIGHLIGHT;
inline constexpr TColor clHighlight = kSystemColourFlag | COLOR_HIGHLIGHT;
inline constexpr TColor clHighlightText = kSystemColourFlag | COLOR_HIGHLIGHTTEXT;
inline constexpr TColor clHotLight = kSystemColourFlag | COLOR_HOTLIGHT;

// Resolves a system colour to its current RGB value; plain colours pass unchanged.
inline COLORREF ColorToRGB(TColor colour) {
    if ((colour & kSystemColourFlag) == kSystemColourFlag) {
        return GetSysColor(static_cast<int>(colour & 0xFF));
    }
    return static_cast<COLORREF>(colour & 0x00FFFFFF);
}

} // namespace tk
