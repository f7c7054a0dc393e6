#include "graphics/area_resample.h"

#include <algorithm>
#include <climits>

namespace sc::gfx {

int ClampDpi(int dpi) {
    return std::clamp(dpi, kMinDpi, kMaxDpi);
}

int ScaleForDpi(int value, int dpi) {
    const std::int64_t n = std::int64_t(value) * ClampDpi(dpi);
    const std::int64_t half = kDesignDpi / 2;
    const std::int64_t r = n >= 0 ? (n + half) / kDesignDpi : -((-n + half) / kDesignDpi);
    return static_cast<int>(std::clamp<std::int64_t>(r, INT_MIN, INT_MAX));
}

PictureSetChoice ChoosePictureSet(std::span<const PictureSetSize> sets, int width, int height) {
    PictureSetChoice larger, largest;
    auto area = [&](int i) {
        const PictureSetSize& s = sets[static_cast<std::size_t>(i)];
        return std::int64_t(s.width) * s.height;
    };
    for (int i = 0; i < static_cast<int>(sets.size()); ++i) {
        const PictureSetSize& s = sets[static_cast<std::size_t>(i)];
        if (s.width <= 0 || s.height <= 0)
            continue;
        if (s.width == width && s.height == height)
            return PictureSetChoice{i, SetFit::exact};
        if (s.width >= width && s.height >= height &&
            (larger.index < 0 || area(i) < area(larger.index)))
            larger = PictureSetChoice{i, SetFit::reduce};
        if (largest.index < 0 || area(i) > area(largest.index))
            largest = PictureSetChoice{i, SetFit::centre};
    }
    return larger.index >= 0 ? larger : largest;
}

AreaSpan AreaSourceSpan(int source, int target, int t) {
    if (source <= 0 || target <= 0 || t < 0 || t >= target)
        return AreaSpan{};
    const std::int64_t start = std::int64_t(t) * source;
    const std::int64_t end = start + source;
    return AreaSpan{static_cast<int>(start / target),
                    static_cast<int>(std::min<std::int64_t>((end + target - 1) / target, source))};
}

std::int64_t AreaWeight(int source, int target, int t, int s) {
    if (source <= 0 || target <= 0 || t < 0 || t >= target || s < 0 || s >= source)
        return 0;
    const std::int64_t lo = std::max(std::int64_t(t) * source, std::int64_t(s) * target);
    const std::int64_t hi = std::min(std::int64_t(t + 1) * source, std::int64_t(s + 1) * target);
    return std::max<std::int64_t>(0, hi - lo);
}

namespace {

bool SidesInRange(int width, int height, int limit) {
    return width >= 1 && height >= 1 && width <= limit && height <= limit;
}

// One source pixel's share in a target pixel: where it lies in the row piece, and its weight.
struct Tap {
    std::size_t offset; // byte offset into the row piece
    std::uint64_t weight;
};

} // namespace

bool ResampleAreaPart(const RgbaRows& source, int targetWidth, int targetHeight,
                      const tk::TRect& part, std::uint8_t* out) {
    const int sw = source.width, sh = source.height;
    if (!SidesInRange(sw, sh, kMaxSourceSide) ||
        !SidesInRange(targetWidth, targetHeight, kMaxTargetSide) || !source.read || !out)
        return false;
    if (part.left < 0 || part.top < 0 || part.right > targetWidth || part.bottom > targetHeight ||
        part.right <= part.left || part.bottom <= part.top)
        return false;

    // Every side is at most 2 x 65535 here, so these counts and the sums below fit easily: a
    // target pixel's weights add up to sw x sh < 2^32, times 255 x 255 below 2^48.
    const int x0 = AreaSourceSpan(sw, targetWidth, part.left).first;
    const int x1 = AreaSourceSpan(sw, targetWidth, part.right - 1).end;
    const auto partWidth = static_cast<std::size_t>(part.right - part.left);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(x1 - x0) * 4);

    // The column taps of every target column of the part, flattened; tapStart[i] is where
    // column i's begin.
    std::vector<Tap> taps;
    std::vector<std::size_t> tapStart(partWidth + 1);
    for (std::size_t i = 0; i < partWidth; ++i) {
        tapStart[i] = taps.size();
        const int t = part.left + static_cast<int>(i);
        const AreaSpan span = AreaSourceSpan(sw, targetWidth, t);
        for (int s = span.first; s < span.end; ++s)
            taps.push_back(Tap{static_cast<std::size_t>(s - x0) * 4,
                               static_cast<std::uint64_t>(AreaWeight(sw, targetWidth, t, s))});
    }
    tapStart[partWidth] = taps.size();

    const std::uint64_t total = std::uint64_t(sw) * std::uint64_t(sh);
    std::vector<std::uint64_t> sums(partWidth * 4);
    std::uint8_t* target = out;
    for (int ty = part.top; ty < part.bottom; ++ty) {
        std::fill(sums.begin(), sums.end(), 0);
        const AreaSpan rows = AreaSourceSpan(sh, targetHeight, ty);
        for (int sy = rows.first; sy < rows.end; ++sy) {
            const auto wy = static_cast<std::uint64_t>(AreaWeight(sh, targetHeight, ty, sy));
            source.read(sy, x0, x1, row.data());
            for (std::size_t i = 0; i < partWidth; ++i) {
                std::uint64_t* sum = &sums[i * 4];
                for (std::size_t k = tapStart[i]; k < tapStart[i + 1]; ++k) {
                    const std::uint8_t* p = &row[taps[k].offset];
                    const std::uint64_t aw = p[3] * taps[k].weight * wy;
                    sum[0] += p[0] * aw;
                    sum[1] += p[1] * aw;
                    sum[2] += p[2] * aw;
                    sum[3] += aw;
                }
            }
        }
        for (std::size_t i = 0; i < partWidth; ++i, target += 4) {
            const std::uint64_t* sum = &sums[i * 4];
            const std::uint64_t alpha = sum[3];
            for (int c = 0; c < 3; ++c)
                target[c] = alpha ? static_cast<std::uint8_t>((sum[c] + alpha / 2) / alpha) : 0;
            target[3] = static_cast<std::uint8_t>((alpha + total / 2) / total);
        }
    }
    return true;
}

std::vector<std::uint8_t> ResampleArea(std::span<const std::uint8_t> rgba, int width, int height,
                                       int targetWidth, int targetHeight) {
    if (!SidesInRange(width, height, kMaxSourceSide) ||
        !SidesInRange(targetWidth, targetHeight, kMaxTargetSide) ||
        rgba.size() / 4 / static_cast<std::size_t>(width) < static_cast<std::size_t>(height))
        return {};
    const auto stride = static_cast<std::size_t>(width) * 4;
    RgbaRows rows{width, height, [&](int y, int x0, int x1, std::uint8_t* to) {
                      const std::uint8_t* from = rgba.data() + std::size_t(y) * stride;
                      std::copy(from + std::size_t(x0) * 4, from + std::size_t(x1) * 4, to);
                  }};
    std::vector<std::uint8_t> result(std::size_t(targetWidth) * std::size_t(targetHeight) * 4);
    if (!ResampleAreaPart(rows, targetWidth, targetHeight,
                          tk::TRect{0, 0, targetWidth, targetHeight}, result.data()))
        return {};
    return result;
}

ScaledPlacement PlaceScaledPicture(const tk::TRect& area, const tk::TRect& clip, int width,
                                   int height, int dpi) {
    const std::int64_t w = std::max(0, ScaleForDpi(width, dpi));
    const std::int64_t h = std::max(0, ScaleForDpi(height, dpi));
    // Centred as an image control centres: the halving truncates toward zero.
    const std::int64_t left = area.left + (std::int64_t(area.right) - area.left - w) / 2;
    const std::int64_t top = area.top + (std::int64_t(area.bottom) - area.top - h) / 2;
    auto toInt = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
    };
    ScaledPlacement result;
    result.placed = tk::TRect{toInt(left), toInt(top), toInt(left + w), toInt(top + h)};
    const std::int64_t l = std::max<std::int64_t>({left, area.left, clip.left});
    const std::int64_t t = std::max<std::int64_t>({top, area.top, clip.top});
    const std::int64_t r = std::min<std::int64_t>({left + w, area.right, clip.right});
    const std::int64_t b = std::min<std::int64_t>({top + h, area.bottom, clip.bottom});
    if (r > l && b > t)
        result.visible =
            tk::TRect{toInt(l - left), toInt(t - top), toInt(r - left), toInt(b - top)};
    return result;
}

} // namespace sc::gfx
