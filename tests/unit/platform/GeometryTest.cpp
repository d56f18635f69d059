// The one hit-test rule: both edges of a rectangle belong to it.
#include <gtest/gtest.h>

#include "platform/Geometry.h"

namespace {
constexpr Point corner{525.0f, 250.0f};
constexpr float side = 75.0f;

bool hits(float x, float y) {
    return pointInRectangle({x, y}, corner, side, side);
}

TEST(PointInRectangle, AllFourEdgesAreInside) {
    EXPECT_TRUE(hits(525.0f, 280.0f));  // left
    EXPECT_TRUE(hits(600.0f, 280.0f));  // right
    EXPECT_TRUE(hits(560.0f, 250.0f));  // top
    EXPECT_TRUE(hits(560.0f, 325.0f));  // bottom
    EXPECT_TRUE(hits(525.0f, 250.0f));  // corners
    EXPECT_TRUE(hits(600.0f, 325.0f));
}

TEST(PointInRectangle, JustBeyondEachEdgeIsOutside) {
    EXPECT_FALSE(hits(524.99f, 280.0f));
    EXPECT_FALSE(hits(600.01f, 280.0f));
    EXPECT_FALSE(hits(560.0f, 249.99f));
    EXPECT_FALSE(hits(560.0f, 325.01f));
}

TEST(PointInRectangle, AnEmptyRectangleHoldsOnlyItsCorner) {
    EXPECT_TRUE(pointInRectangle({500.0f, 490.0f}, {500.0f, 490.0f}, 0.0f, 0.0f));
    EXPECT_FALSE(pointInRectangle({500.5f, 490.0f}, {500.0f, 490.0f}, 0.0f, 0.0f));
}
}  // namespace
