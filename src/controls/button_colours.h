// Colour arithmetic of the glyph buttons: shades and mixes on a 0..240 hue, saturation and
// luminance scale. Colours are 0x00BBGGRR; 0xFF0000nn names system colour nn.
#pragma once

#include "graphics/colour.h"

#include <cstdint>

namespace sc::controls {

// Where system colours get their values: the platform installs its own source at start; the
// default answers the classic scheme's values.
using SystemColourSource = Colour (*)(int index);
void setSystemColourSource(SystemColourSource source);
// A system colour becomes its current value; plain colours keep their 24 bits.
Colour resolveColour(Colour c);

struct Hsl {
    std::uint8_t hue = 0, saturation = 0, luminance = 0;
    bool operator==(const Hsl&) const = default;
};

Hsl SplitHsl(Colour c);
Colour MakeHslColor(std::uint8_t hue, std::uint8_t saturation, std::uint8_t luminance);
Colour ShadeDown(Colour c, std::uint8_t amount);
Colour ShadeUp(Colour c, std::uint8_t amount);
// alpha 255 gives a, 0 gives b.
Colour MixColors(Colour a, Colour b, std::uint8_t alpha);
bool NearColors(Colour a, Colour b);
Colour OppositeHueColor(Colour c, std::uint8_t luminance);

} // namespace sc::controls
