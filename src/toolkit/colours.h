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
inline constexpr TColor clWindow = sc::kWindow;
inline constexpr TColor clWindowText = sc::kWindowText;
inline constexpr TColor clBtnFace = sc::kBtnFace;
inline constexpr TColor clBtnShadow = sc::kBtnShadow;
inline constexpr TColor clBtnHighlight = sc::kBtnHighlight;
inline constexpr TColor clHighlight = sc::kHighlight;
inline constexpr TColor clHighlightText = sc::kHighlightText;
inline constexpr TColor clHotLight = sc::kHotLight;

// Resolves a system colour to its current RGB value; plain colours pass unchanged.
inline COLORREF ColorToRGB(TColor colour) {
    if ((colour & kSystemColourFlag) == kSystemColourFlag) {
        return GetSysColor(static_cast<int>(colour & 0xFF));
    }
    return static_cast<COLORREF>(colour & 0x00FFFFFF);
}

} // namespace tk
