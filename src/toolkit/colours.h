// The toolkit's colour values: 0x00BBGGRR, or 0xFF0000nn for system colour nn.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tk {

using TColor = std::uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor kSystemColourFlag = 0xFF000000;
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
