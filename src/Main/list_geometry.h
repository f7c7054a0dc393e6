#pragma once
// Hit testing and placement in the main window's lists and buttons.

#include "Main/row_painter.h"

#include <optional>

namespace sc {

// Row under a point in a fixed-height list whose first visible row is `topIndex`: nullopt
// outside the client rect or below the last row.
std::optional<int> rowAtPoint(Point p, Rect client, int topIndex, int rowHeight, int rowCount);

// Where the help button's popup menu opens: screen point of the button's bottom-left corner.
Point popupMenuPoint(Point clientOriginOnScreen, Rect buttonBounds);

} // namespace sc
