// The base of a row drawn inside a Glideport at a position relative to its origin.
#pragma once

#include "platform/Drawing.h"
#include "platform/Geometry.h"

class GlideportItem {
public:
    virtual ~GlideportItem() = default;
    virtual void draw(BackBuffer& backBuffer, Point origin) = 0;
    virtual Point getPoint() { return itemPoint; }

    Point itemPoint;
};
