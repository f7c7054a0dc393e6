#include "controls/button_colours.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sc::controls {

namespace {

Colour classicSystemColour(int index) {
    switch (index) {
    case 6:  // window frame
    case 18: // button text
    case 21: // 3D dark shadow
        return 0x000000;
    case 13: // highlight
        return 0x6A240A;
    case 15: // button face
    case 22: // 3D light
        return 0xC8D0D4;
    case 16: // button shadow
    case 17: // grey text
        return 0x808080;
    case 20: // button highlight
        return 0xFFFFFF;
    default:
        return 0x000000;
    }
}

SystemColourSource systemSource = &classicSystemColour;

// Rounds half to even (the default floating-point rounding mode).
int roundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

std::uint8_t byteOf(double unit) {
    return static_cast<std::uint8_t>(std::clamp(roundEven(unit * 255.0), 0, 255));
}

Colour rgb(int r, int g, int b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

int channel(Colour c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

} // namespace

void setSystemColourSource(SystemColourSource source) {
    systemSource = source ? source : &classicSystemColour;
}

Colour resolveColour(Colour c) {
    if ((c & kSystemColour) == kSystemColour) {
        return systemSource(static_cast<int>(c & 0xFF)) & 0xFFFFFF;
    }
    return c & 0xFFFFFF;
}

Hsl SplitHsl(Colour c) {
    c = resolveColour(c);
    double r = channel(c, 0) / 255.0;
    double g = channel(c, 8) / 255.0;
    double b = channel(c, 16) / 255.0;
    double mx = std::max({r, g, b});
    double mn = std::min({r, g, b});
    double l = (mx + mn) / 2;
    double h = 0;
    double s = 0;
    if (mx != mn) {
        double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
        if (r == mx) {
            h = (g - b) / d;
        } else if (g == mx) {
            h = 2 + (b - r) / d;
        } else {
            h = 4 + (r - g) / d;
        }
        h /= 6;
        if (h < 0) {
            h += 1;
        }
    }
    auto scale = [](double v) {
        return static_cast<std::uint8_t>(std::clamp(roundEven(v * 240), 0, 255));
    };
    return {scale(h), scale(s), scale(l)};
}

Colour MakeHslColor(std::uint8_t hue, std::uint8_t saturation, std::uint8_t luminance) {
    double h = hue / 239.0;
    double s = saturation / 240.0;
    double l = luminance / 240.0;
    double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
    if (m2 <= 0) {
        return kBlack;
    }
    double m1 = 2 * l - m2;
    double v = (m2 - m1) / m2;
    int k = static_cast<int>(6 * h);
    double f = 6 * h - k;
    double x = m2 * v * f;
    double up = m1 + x;
    double dn = m2 - x;
    double r = m2, g = up, b = m1;
    switch (k) {
    case 1:
        r = dn, g = m2, b = m1;
        break;
    case 2:
        r = m1, g = m2, b = up;
        break;
    case 3:
        r = m1, g = dn, b = m2;
        break;
    case 4:
        r = up, g = m1, b = m2;
        break;
    case 5:
        r = m2, g = m1, b = dn;
        break;
    default: // 0, and hue 239 or 240
        break;
    }
    return rgb(byteOf(std::min(r, 1.0)), byteOf(std::min(g, 1.0)), byteOf(std::min(b, 1.0)));
}

Colour ShadeDown(Colour c, std::uint8_t amount) {
    Hsl hsl = SplitHsl(c);
    int l = std::max(hsl.luminance - amount, 0);
    return MakeHslColor(hsl.hue, hsl.saturation, static_cast<std::uint8_t>(l));
}

Colour ShadeUp(Colour c, std::uint8_t amount) {
    Hsl hsl = SplitHsl(c);
    int l = std::min(hsl.luminance + amount, 255);
    return MakeHslColor(hsl.hue, hsl.saturation, static_cast<std::uint8_t>(l));
}

Colour MixColors(Colour a, Colour b, std::uint8_t alpha) {
    a = resolveColour(a);
    b = resolveColour(b);
    const float x = alpha / 255.0f;
    auto mix = [&](int shift) {
        double v = channel(a, shift) * static_cast<double>(x) +
                   channel(b, shift) * (1.0 - static_cast<double>(x));
        return std::clamp(roundEven(v), 0, 255);
    };
    return rgb(mix(0), mix(8), mix(16));
}

bool NearColors(Colour a, Colour b) {
    Hsl x = SplitHsl(a);
    Hsl y = SplitHsl(b);
    return std::abs(x.hue - y.hue) < 20 && std::abs(x.luminance - y.luminance) < 60;
}

Colour OppositeHueColor(Colour c, std::uint8_t luminance) {
    int h = SplitHsl(c).hue;
    h = h < 120 ? h + 120 : h - 120;
    return MakeHslColor(static_cast<std::uint8_t>(h), 240, luminance);
}

} // namespace sc::controls
