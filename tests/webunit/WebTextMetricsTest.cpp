// Text metrics shaped after GDI+'s: sizes at 96 DPI, the line box, the padding, and
// where a line starts in a box for each alignment.
#include <gtest/gtest.h>

#include <random>

#include "platform/web/WebTextMetrics.h"

namespace {

using namespace WebTextMetrics;

TEST(WebTextMetrics, PointSizesAtNinetySixDotsPerInch) {
    EXPECT_FLOAT_EQ(emPixels(30.0f), 40.0f);
    EXPECT_NEAR(emPixels(20.0f), 26.667f, 0.001f);
    // Arial's line spacing is 2355/2048 of the em: about 46 pixels at 30 points.
    EXPECT_NEAR(lineSpacing(30.0f), 46.0f, 0.01f);
    EXPECT_NEAR(ascent(30.0f), 36.21f, 0.01f);
    EXPECT_LT(ascent(30.0f), lineSpacing(30.0f));
}

// The working-out's columns come from the width of "0000" at 30 points: four digit
// advances (0.556 em each in Arial and Liberation Sans) plus 1/6 em on either side.
TEST(WebTextMetrics, TheFourDigitBoxMatchesTheDesktop) {
    const float digits = 4.0f * 40.0f * 1139.0f / 2048.0f;
    const Rectangle box = measuredBox(30.0f, digits, {340.0f, 12.0f});
    EXPECT_NEAR(box.width, 88.96f + 40.0f / 3.0f, 0.05f);
    EXPECT_FLOAT_EQ(box.x, 340.0f);
    EXPECT_FLOAT_EQ(box.y, 12.0f);
    EXPECT_FLOAT_EQ(box.height, lineSpacing(30.0f));
    // An empty string still has its padding, as MeasureString's box does.
    EXPECT_NEAR(measuredBox(30.0f, 0.0f, {}).width, 40.0f / 3.0f, 0.001f);
}

TEST(WebTextMetrics, AlignmentInABox) {
    std::mt19937 random(77);
    std::uniform_real_distribution<float> any(0.0f, 500.0f);
    for (int round = 0; round < 2000; ++round) {
        const float points = round % 2 == 0 ? 30.0f : 20.0f;
        const float advance = any(random);
        const float x = any(random) - 250.0f;
        const float width = any(random);
        const float nearX = lineStartX(points, advance, x, width, 0);
        const float centreX = lineStartX(points, advance, x, width, 1);
        const float farX = lineStartX(points, advance, x, width, 2);
        EXPECT_NEAR(nearX, x + padding(points), 0.001f);
        // Far: the glyphs end one padding before the box's right edge.
        EXPECT_NEAR(farX + advance + padding(points), x + width, 0.01f);
        // Centre: as much room on the left as on the right.
        EXPECT_NEAR(centreX - x, x + width - (centreX + advance), 0.01f);
    }
}

}  // namespace
