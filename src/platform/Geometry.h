// Plain drawing types shared by every layer: points and rectangles in back-buffer
// pixels (single precision, as the drawing backends take them) and ARGB colours.
#pragma once

#include <algorithm>
#include <array>
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

// What a mitred pen of penWidth paints around area: four bands centred on its edges
// (top, bottom, left, right), each cut to a surface of surfaceWidth x surfaceHeight
// grown by one pixel all round, so that an outline hundreds of thousands of pixels
// tall costs only the part that shows. A band wholly off the surface comes back with
// no width or no height.
inline std::array<Rectangle, 4> outlineBands(const Rectangle& area, float penWidth,
                                             float surfaceWidth, float surfaceHeight) {
    const float half = penWidth / 2.0f;
    const float left = area.x - half;
    const float top = area.y - half;
    const float outerWidth = area.width + penWidth;
    const float innerHeight = area.height - penWidth;
    std::array<Rectangle, 4> bands = {{
        {left, top, outerWidth, penWidth},
        {left, top + area.height, outerWidth, penWidth},
        {left, top + penWidth, penWidth, innerHeight},
        {left + area.width, top + penWidth, penWidth, innerHeight},
    }};
    for (Rectangle& band : bands) {
        const float bandLeft = std::max(band.x, -1.0f);
        const float bandTop = std::max(band.y, -1.0f);
        const float bandRight = std::min(band.x + band.width, surfaceWidth + 1.0f);
        const float bandBottom = std::min(band.y + band.height, surfaceHeight + 1.0f);
        band = {bandLeft, bandTop, std::max(0.0f, bandRight - bandLeft),
                std::max(0.0f, bandBottom - bandTop)};
    }
    return bands;
}

// A position in whole pixels, as the window system reports the cursor.
struct PixelPoint {
    int x = 0;
    int y = 0;
};
