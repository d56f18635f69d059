// The one hit-test rule (both edges of a rectangle belong to it) and the bands an
// outline is painted as.
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
// The bands are centred on the edges and meet without overlap; on an 800 x 600
// surface they are cut to one pixel beyond it, and a band that lies wholly off it is
// empty.
TEST(OutlineBands, CentredOnTheEdgesAndCutToTheSurface) {
    struct Case {
        const char* what;
        Rectangle area;
        float pen;
        std::array<Rectangle, 4> bands;  // top, bottom, left, right
    };
    const Case cases[] = {
        {"a box inside",
         {10, 20, 100, 50},
         2,
         {{{9, 19, 102, 2}, {9, 69, 102, 2}, {9, 21, 2, 48}, {109, 21, 2, 48}}}},
        {"an odd pen",
         {10, 20, 100, 50},
         3,
         {{{8.5f, 18.5f, 103, 3},
           {8.5f, 68.5f, 103, 3},
           {8.5f, 21.5f, 3, 47},
           {108.5f, 21.5f, 3, 47}}}},
        {"a tall outline",
         {20, -100000, 480, 200574},
         2,
         {{{19, -1, 482, 0}, {19, 100573, 482, 0}, {19, -1, 2, 602}, {499, -1, 2, 602}}}},
        {"beyond the right edge",
         {900, 20, 100, 50},
         2,
         {{{899, 19, 0, 2}, {899, 69, 0, 2}, {899, 21, 0, 48}, {999, 21, 0, 48}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bands = outlineBands(c.area, c.pen, 800, 600);
        for (std::size_t i = 0; i < bands.size(); ++i) {
            EXPECT_FLOAT_EQ(bands[i].x, c.bands[i].x) << "band " << i;
            EXPECT_FLOAT_EQ(bands[i].y, c.bands[i].y) << "band " << i;
            EXPECT_FLOAT_EQ(bands[i].width, c.bands[i].width) << "band " << i;
            EXPECT_FLOAT_EQ(bands[i].height, c.bands[i].height) << "band " << i;
        }
    }
}
}  // namespace
