// The text metrics the web backend lays strings out by, shaped after GDI+: point sizes
// at 96 dots per inch, the line spacing and ascent of Arial's design (which Liberation
// Sans shares), and the 1/6 em of padding a measured string carries on either side.
// Plain numbers, so they are tested without a browser.
#pragma once

#include "platform/Geometry.h"

namespace WebTextMetrics {
// Arial's (and Liberation Sans') vertical design metrics, in font units of the em.
constexpr float unitsPerEm = 2048.0f;
constexpr float ascentUnits = 1854.0f;
constexpr float lineSpacingUnits = 2355.0f;  // ascent + descent + line gap

float emPixels(float points);
float lineSpacing(float points);  // pixels from one line to the next at 96 DPI
float ascent(float points);       // pixels from the top of a line to its baseline
float padding(float points);      // GDI+'s padding on either side of a string

// MeasureString's box for text whose glyphs advance `advance` pixels.
Rectangle measuredBox(float points, float advance, Point origin);
// The x at which the glyphs of a line start inside a box, for each alignment.
float lineStartX(float points, float advance, float boxX, float boxWidth, int align);
}  // namespace WebTextMetrics
