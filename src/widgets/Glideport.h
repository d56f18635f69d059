// A vertical view with kinetic scrolling. It keeps only the scroll origin, the sizes
// of view and content and the motion; its owner draws the content offset by the origin.
// The view sits at the back buffer's top-left corner.
#pragma once

#include "platform/Drawing.h"
#include "platform/Geometry.h"

class Glideport {
public:
    Glideport(double velocity, double deceleration, float originY, float originX,
              float contentWidth, float contentHeight, float viewWidth, float viewHeight);
    virtual ~Glideport() = default;

    // Background of the view and the outline of the content, which moves with it.
    virtual void draw(BackBuffer& backBuffer);
    // Advances a drag or a coasting motion, then clamps the origin.
    virtual void update(double seconds, Point pointer);
    // Starts a drag when the press lies on the content (edges included).
    virtual bool pointerDown(Point press);
    virtual void pointerUp();
    // Adds one notch of speed; only the sign of the low 16 bits of delta matters.
    virtual void wheel(int delta, Point position);
    virtual float getOriginX();
    virtual float getOriginY();
    virtual void getOrigin(float& x, float& y);
    // Pulls originY back into range; true if it had to.
    virtual bool clampOrigin();

    // Growth applies at once; shrinking only when it exceeds 250 pixels. Never below
    // the view's height.
    void setContentHeight(float height);
    // Sets a speed that carries the rectangle (content coordinates, y and height used)
    // into view under the usual deceleration.
    void scrollToShow(const Rectangle& area);

    double velocity;      // pixels per second; positive moves the content down
    double deceleration;  // pixels per second squared of decay while coasting
    float originY;        // back-buffer y of the content's top; 0 or negative
    float originX;        // always 0: there is no horizontal scrolling
    float contentWidth;
    float contentHeight;
    float viewWidth;
    float viewHeight;
    bool dragging = false;
    Point lastPointer;  // the pointer at the previous drag step
};
