#include "png/png_gamma.h"

#include <cmath>

namespace sc::png {
namespace {

long double ExponentOf(std::uint32_t value) {
    return 1.0L / (static_cast<long double>(value) / 100000.0L * 2.2L);
}

std::uint8_t ExtendedLevel(int i, long double exponent) {
    const long double base = static_cast<long double>(i) / 255.0L;
    long double power;
    if (exponent == 0.0L)
        power = 1.0L;
    else if (base == 0.0L)
        power = 0.0L;
    else
        power = std::exp(exponent * std::log(base));
    const long long rounded = std::llrint(power * 255.0L);
    return static_cast<std::uint8_t>(rounded & 0xFF);
}

// Double precision is some nine digits closer to the extended result than any level is to a
// rounding boundary, except near a half: only there the extended computation decides.
std::array<std::uint8_t, 256> ComputeCurve(std::uint32_t value) {
    if (value == 0)
        return GammaCurveExtended(value);
    const long double exponent = ExponentOf(value);
    const double fastExponent = static_cast<double>(exponent);
    std::array<std::uint8_t, 256> curve{};
    for (int i = 1; i < 256; ++i) {
        const double scaled = std::pow(i / 255.0, fastExponent) * 255.0;
        const double fraction = scaled - std::floor(scaled);
        if (std::fabs(fraction - 0.5) < 1e-6)
            curve[static_cast<std::size_t>(i)] = ExtendedLevel(i, exponent);
        else
            curve[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(static_cast<long long>(std::floor(scaled + 0.5)) & 0xFF);
    }
    curve[0] = ExtendedLevel(0, exponent);
    return curve;
}

} // namespace

std::array<std::uint8_t, 256> GammaCurveExtended(std::uint32_t value) {
    const long double exponent = ExponentOf(value);
    std::array<std::uint8_t, 256> curve{};
    for (int i = 0; i < 256; ++i)
        curve[static_cast<std::size_t>(i)] = ExtendedLevel(i, exponent);
    return curve;
}

std::array<std::uint8_t, 256> GammaCurveFor(std::uint32_t value) {
    struct Cached {
        std::uint32_t Value = 0;
        std::array<std::uint8_t, 256> Curve{};
    };
    constexpr unsigned kKept = 16;
    thread_local Cached cache[kKept];
    thread_local unsigned next = 0;
    for (const Cached& c : cache)
        if (c.Value == value && value != 0) // value 0 marks an empty slot
            return c.Curve;
    Cached& slot = cache[next];
    next = (next + 1) % kKept;
    slot.Curve = ComputeCurve(value);
    slot.Value = value;
    return slot.Curve;
}

} // namespace sc::png
