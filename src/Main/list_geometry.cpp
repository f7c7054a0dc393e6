#include "Main/list_geometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace sc {
namespace {

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

std::optional<int> rowAtPoint(Point p, Rect client, int topIndex, int rowHeight, int rowCount) {
    if (p.x < client.left || p.x >= client.right || p.y < client.top || p.y >= client.bottom) {
        return std::nullopt;
    }
    if (rowHeight <= 0 || rowCount <= 0) {
        return std::nullopt;
    }
    const std::int64_t first = std::max(topIndex, 0);
    const std::int64_t row = first + (std::int64_t{p.y} - client.top) / rowHeight;
    if (row >= rowCount) {
        return std::nullopt;
    }
    return static_cast<int>(row);
}

Point popupMenuPoint(Point clientOriginOnScreen, Rect buttonBounds) {
    return Point{clampToInt32(std::int64_t{clientOriginOnScreen.x} + buttonBounds.left),
                 clampToInt32(std::int64_t{clientOriginOnScreen.y} + buttonBounds.bottom)};
}

} // namespace sc
