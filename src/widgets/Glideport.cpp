// Kinetic vertical scrolling: drag, coast with a fixed deceleration, wheel notches and
// glides that carry a rectangle into view, with the origin clamped to the content.
#include "widgets/Glideport.h"

#include <cmath>
#include <cstdint>

namespace {
constexpr Colour backgroundColour = 0xFFEEE2B7;
constexpr Colour outlineColour = 0xFF323232;
constexpr float outlinePenWidth = 5.0f;
constexpr double wheelNotchSpeed = 300.0;
// Content that shrinks by this much or less keeps its old height, so the pupil can
// still scroll over the tail that was just emptied.
constexpr float shrinkHysteresis = 250.0f;
// Base speeds of a glide: moving the content up (to show what lies below) starts
// slower than moving it down towards its top.
constexpr double glideUpBaseSpeed = 200.0;
constexpr double glideDownBaseSpeed = 1000.0;

// The speed after one frame's decay: brought towards rest by loss, never reversed.
double decayed(double velocity, double loss) {
    if (velocity > 0.0) {
        return velocity - loss < 0.0 ? 0.0 : velocity - loss;
    }
    return velocity + loss > 0.0 ? 0.0 : velocity + loss;
}
}  // namespace

Glideport::Glideport(double velocity, double deceleration, float originY, float originX,
                     float contentWidth, float contentHeight, float viewWidth, float viewHeight)
    : velocity(velocity),
      deceleration(deceleration),
      originY(originY),
      originX(originX),
      contentWidth(contentWidth),
      contentHeight(contentHeight),
      viewWidth(viewWidth),
      viewHeight(viewHeight) {}

void Glideport::draw(BackBuffer& backBuffer) {
    auto graphics = backBuffer.beginDrawing();
    graphics->fillRectangle(backgroundColour, {0.0f, 0.0f, viewWidth, viewHeight});
    graphics->outlineRectangle(outlineColour, outlinePenWidth,
                               {originX, originY, contentWidth, contentHeight});
}

void Glideport::update(double seconds, Point pointer) {
    // Time that did not move forward (zero, negative or not a number) cannot give a
    // speed or a distance. A drag still follows the pointer, so the content stays under
    // it, but keeps the speed of the last measurable step so that a release still coasts
    // as the pupil flung it; a coast simply waits for the next frame.
    const bool timePassed = seconds > 0.0;
    if (dragging) {
        const float dy = pointer.y - lastPointer.y;
        lastPointer = pointer;
        originY += dy;
        const double speed = timePassed ? dy / seconds : 0.0;
        if (timePassed && std::isfinite(speed)) {
            velocity = speed;
        }
    } else if (velocity != 0.0 && timePassed) {
        // The position moves with the speed from before this frame's decay.
        originY = static_cast<float>(originY + velocity * seconds);
        velocity = decayed(velocity, deceleration * seconds);
    }
    if (clampOrigin()) {
        velocity = 0.0;
    }
}

bool Glideport::pointerDown(Point press) {
    if (!pointInRectangle(press, {originX, originY}, contentWidth, contentHeight)) {
        return false;
    }
    dragging = true;
    lastPointer = press;
    drawingServices().showHandCursor();
    return true;
}

void Glideport::pointerUp() {
    dragging = false;
}

void Glideport::wheel(int delta, Point /*position*/) {
    // Only the sign of the low 16 bits counts; zero turns the content down like a
    // positive notch.
    const auto notch = static_cast<std::int16_t>(static_cast<std::uint16_t>(delta & 0xFFFF));
    velocity += notch >= 0 ? wheelNotchSpeed : -wheelNotchSpeed;
}

float Glideport::getOriginX() {
    return originX;
}

float Glideport::getOriginY() {
    return originY;
}

void Glideport::getOrigin(float& x, float& y) {
    x = originX;
    y = originY;
}

bool Glideport::clampOrigin() {
    // The content's bottom above the view's bottom is corrected first, so content no
    // taller than the view ends up with its top at the view's top below.
    if (viewHeight > originY + contentHeight) {
        originY = viewHeight - contentHeight;
        return true;
    }
    if (originY > 0.0f) {
        originY = 0.0f;
        return true;
    }
    return false;
}

void Glideport::setContentHeight(float height) {
    if (height > contentHeight || height + shrinkHysteresis < contentHeight) {
        contentHeight = height;
    }
    if (viewHeight > contentHeight) {
        contentHeight = viewHeight;
    }
    if (viewHeight > originY + contentHeight) {
        originY = viewHeight - contentHeight;
    }
}

void Glideport::scrollToShow(const Rectangle& area) {
    const float top = originY + area.y;
    float distance = 0.0f;
    if (top < 0.0f) {
        distance = top;
    } else if (top + area.height > viewHeight) {
        distance = top + area.height - viewHeight;
    }
    if (distance > 0.0f) {
        velocity = -(2.0 * distance + glideUpBaseSpeed);
    } else if (distance < 0.0f) {
        velocity = glideDownBaseSpeed - 2.0 * distance;
    }
}
