// Plain drawing types shared by every layer: points and rectangles in back-buffer
// pixels (single precision, as the drawing backends take them) and ARGB colours.
#pragma once

#include <cstdint>

struct Point {
    float x = 0.0f;
    float y = 0.0f;
};

struct Rectangle {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// 0xAARRGGBB, the layout the drawing backends take directly.
using Colour = std::uint32_t;

// The one hit-test rule of the program: both edges are inclusive, so a point on the
// right or bottom edge of a rectangle is inside it.
inline bool pointInRectangle(Point point, Point topLeft, float width, float height) {
    return topLeft.x <= point.x && point.x <= topLeft.x + width && topLeft.y <= point.y &&
           point.y <= topLeft.y + height;
}

// A position in whole pixels, as the window system reports the cursor.
struct PixelPoint {
    int x = 0;
    int y = 0;
};
