#include "controls/kind_picture_scaling.h"

#include "graphics/area_resample.h"

namespace sc::controls {

KeyedPicture FitKeyedPictures(const KeyedPicture& source, int side) {
    const int s = source.height;
    if (s < 1 || s > 1024 || side < 1 || side > 1024 || source.width % s != 0 ||
        source.pixels.size() != std::size_t(source.width) * std::size_t(s))
        return {};
    const int count = source.width / s;
    if (count > 16)
        return {};
    if (s == side)
        return source;
    const std::uint32_t key = source.pixels[std::size_t(s - 1) * std::size_t(source.width)];
    KeyedPicture result{count * side, side,
                        std::vector<std::uint32_t>(std::size_t(count * side) * side, key)};
    auto at = [](KeyedPicture& p, int x, int y) -> std::uint32_t& {
        return p.pixels[std::size_t(y) * std::size_t(p.width) + std::size_t(x)];
    };
    for (int n = 0; n < count; ++n) {
        if (s < side) {
            const int offset = (side - s) / 2;
            for (int y = 0; y < s; ++y)
                for (int x = 0; x < s; ++x)
                    at(result, n * side + offset + x, offset + y) =
                        source.pixels[std::size_t(y) * std::size_t(source.width) +
                                      std::size_t(n * s + x)];
            continue;
        }
        std::vector<std::uint8_t> rgba(std::size_t(s) * std::size_t(s) * 4);
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x) {
                const std::uint32_t c = source.pixels[std::size_t(y) * std::size_t(source.width) +
                                                      std::size_t(n * s + x)];
                std::uint8_t* p = &rgba[(std::size_t(y) * std::size_t(s) + std::size_t(x)) * 4];
                p[0] = std::uint8_t(c >> 16), p[1] = std::uint8_t(c >> 8), p[2] = std::uint8_t(c);
                p[3] = c == key ? 0 : 255;
            }
        const std::vector<std::uint8_t> scaled = gfx::ResampleArea(rgba, s, s, side, side);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const std::uint8_t* p =
                    &scaled[(std::size_t(y) * std::size_t(side) + std::size_t(x)) * 4];
                if (p[3] >= 128)
                    at(result, n * side + x, y) =
                        std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
            }
    }
    at(result, 0, side - 1) = key;
    return result;
}

} // namespace sc::controls
