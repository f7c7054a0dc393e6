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

} // namespace sc
