#include "Main/list_geometry.h"

#include <gtest/gtest.h>

namespace sc {
namespace {

// The task list's client area: 466 x 401 less its two-pixel sunken border.
constexpr Rect kClient{0, 0, 462, 397};

TEST(RowAtPoint, PointsOutsideTheClientAreaHitNothing) {
    for (Point p :
         {Point{-1, 10}, Point{462, 10}, Point{10, -1}, Point{10, 397}, Point{-5000, -5000}}) {
        EXPECT_FALSE(rowAtPoint(p, kClient, 0, kTaskRowHeight, 5).has_value()) << p.x << "," << p.y;
    }
}

TEST(RowAtPoint, RowBoundaries) {
    EXPECT_EQ(rowAtPoint({0, 0}, kClient, 0, kTaskRowHeight, 5), 0);
    EXPECT_EQ(rowAtPoint({461, 74}, kClient, 0, kTaskRowHeight, 5), 0);
    EXPECT_EQ(rowAtPoint({10, 75}, kClient, 0, kTaskRowHeight, 5), 1);
    EXPECT_EQ(rowAtPoint({10, 299}, kClient, 0, kTaskRowHeight, 5), 3);
    EXPECT_EQ(rowAtPoint({10, 300}, kClient, 0, kTaskRowHeight, 5), 4);
    EXPECT_EQ(rowAtPoint({10, 396}, kClient, 0, kTaskRowHeight, 6), 5);
}

TEST(RowAtPoint, EmptyAreaBelowTheLastRowHitsNothing) {
    // Video: three rows end at y 225.
    EXPECT_EQ(rowAtPoint({10, 224}, kClient, 0, kTaskRowHeight, 3), 2);
    EXPECT_FALSE(rowAtPoint({10, 225}, kClient, 0, kTaskRowHeight, 3).has_value());
    EXPECT_FALSE(rowAtPoint({10, 10}, kClient, 0, kTaskRowHeight, 0).has_value());
    EXPECT_FALSE(rowAtPoint({10, 10}, kClient, 0, 0, 3).has_value());
}

TEST(RowAtPoint, CountsFromTheTopVisibleRow) {
    EXPECT_EQ(rowAtPoint({10, 0}, kClient, 2, kTaskRowHeight, 5), 2);
    EXPECT_EQ(rowAtPoint({10, 160}, kClient, 2, kTaskRowHeight, 5), 4);
    EXPECT_FALSE(rowAtPoint({10, 225}, kClient, 2, kTaskRowHeight, 5).has_value());
    // A client rectangle that does not start at the origin.
    EXPECT_EQ(rowAtPoint({10, 90}, Rect{0, 20, 462, 417}, 1, kTaskRowHeight, 5), 1);
    EXPECT_EQ(rowAtPoint({10, 95}, Rect{0, 20, 462, 417}, 1, kTaskRowHeight, 5), 2);
}

} // namespace
} // namespace sc
