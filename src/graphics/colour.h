// Colour values: 0x00BBGGRR, or 0xFF0000nn for system colour nn. Platform-neutral.
#pragma once

#include <cstdint>

namespace sc {

using Colour = std::uint32_t;

inline constexpr Colour kNoColour = 0x1FFFFFFF;
inline constexpr Colour kSystemColour = 0xFF000000;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kGray = 0x808080;
inline constexpr Colour kSilver = 0xC0C0C0;

// The system colours the program names, by their platform index.
inline constexpr Colour kWindow = kSystemColour | 5;
inline constexpr Colour kWindowFrame = kSystemColour | 6;
inline constexpr Colour kWindowText = kSystemColour | 8;
inline constexpr Colour kHighlight = kSystemColour | 13;
inline constexpr Colour kHighlightText = kSystemColour | 14;
inline constexpr Colour kBtnFace = kSystemColour | 15;
inline constexpr Colour kBtnShadow = kSystemColour | 16;
inline constexpr Colour kGrayText = kSystemColour | 17;
inline constexpr Colour kBtnText = kSystemColour | 18;
inline constexpr Colour kBtnHighlight = kSystemColour | 20;
inline constexpr Colour k3DDkShadow = kSystemColour | 21;
inline constexpr Colour k3DLight = kSystemColour | 22;
inline constexpr Colour kHotLight = kSystemColour | 26;

} // namespace sc
