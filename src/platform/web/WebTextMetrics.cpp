// GDI+-shaped text metrics for the canvas.
#include "platform/web/WebTextMetrics.h"

namespace WebTextMetrics {

namespace {
constexpr float pixelsPerPoint = 96.0f / 72.0f;
constexpr float paddingPerEm = 1.0f / 6.0f;
}  // namespace

float emPixels(float points) {
    return points * pixelsPerPoint;
}

float lineSpacing(float points) {
    return emPixels(points) * lineSpacingUnits / unitsPerEm;
}

float ascent(float points) {
    return emPixels(points) * ascentUnits / unitsPerEm;
}

float padding(float points) {
    return emPixels(points) * paddingPerEm;
}

Rectangle measuredBox(float points, float advance, Point origin) {
    return {origin.x, origin.y, advance + 2.0f * padding(points), lineSpacing(points)};
}

// align: 0 near, 1 centre, 2 far, as TextAlign orders them.
float lineStartX(float points, float advance, float boxX, float boxWidth, int align) {
    if (align == 2) {
        return boxX + boxWidth - padding(points) - advance;
    }
    if (align == 1) {
        return boxX + (boxWidth - advance) / 2.0f;
    }
    return boxX + padding(points);
}

}  // namespace WebTextMetrics
