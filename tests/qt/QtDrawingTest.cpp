// The Qt drawing backend: the cleared buffer's pixels, fonts at GDI+ sizes with their
// fallback, text placed and measured as the layout expects, and pictures.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>

#include "platform/qt/QtDrawing.h"

namespace {
constexpr QRgb white = 0xFFFFFFFF;
constexpr QRgb black = 0xFF000000;

// The horizontal extent of pixels darker than mid-grey within a band of rows, inside
// the buffer's black outline.
std::pair<int, int> inkColumns(const QImage& image, int top, int bottom) {
    int first = image.width();
    int last = -1;
    for (int y = top; y < bottom; ++y) {
        for (int x = 1; x < image.width() - 1; ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

bool rowIsWhite(const QImage& image, int y) {
    for (int x = 1; x < image.width() - 1; ++x) {
        if (image.pixel(x, y) != white) {
            return false;
        }
    }
    return true;
}
}  // namespace

TEST(QtBackBuffer, ClearedBufferIsWhiteInsideWithABlackOutline) {
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    graphics->fillRectangle(0xFF123456, {0, 0, 800, 600});
    graphics.reset();
    buffer.clear();

    for (int y = 0; y < 600; ++y) {
        ASSERT_EQ(buffer.image.pixel(0, y), black) << "left column, y " << y;
        ASSERT_EQ(buffer.image.pixel(799, y), black) << "right column, y " << y;
    }
    for (int x = 0; x < 800; ++x) {
        ASSERT_EQ(buffer.image.pixel(x, 0), black) << "top row, x " << x;
        ASSERT_EQ(buffer.image.pixel(x, 599), black) << "bottom row, x " << x;
    }
    for (int y = 1; y < 599; ++y) {
        for (int x = 1; x < 799; ++x) {
            ASSERT_EQ(buffer.image.pixel(x, y), white) << "inside at " << x << ", " << y;
        }
    }
}

TEST(QtBackBuffer, RectanglesLandOnTheirPixels) {
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    graphics->fillRectangle(0xFFEEE2B7, {10, 20, 30, 40});
    graphics.reset();
    EXPECT_EQ(buffer.image.pixel(10, 20), 0xFFEEE2B7);
    EXPECT_EQ(buffer.image.pixel(39, 59), 0xFFEEE2B7);
    EXPECT_EQ(buffer.image.pixel(40, 60), white);
    EXPECT_EQ(buffer.image.pixel(9, 19), white);
}

TEST(QtFont, SizesArePointsAtNinetySixDotsPerInch) {
    QtFont thirty(30.0f);
    QtFont twenty(20.0f);
    EXPECT_EQ(thirty.font.pixelSize(), 40);
    EXPECT_EQ(twenty.font.pixelSize(), 27);
    EXPECT_FLOAT_EQ(thirty.sizeInPoints(), 30.0f);
    // Arial's line is about 1.15 em: some 46 pixels at 30 points, and about 14.4 at
    // a resolution of 30 dots per inch, so three lines come to about 43.
    EXPECT_NEAR(3.0f * thirty.lineHeightAtDpi(30.0f), 43.0f, 1.5f);
}

TEST(QtFont, ArialResolvesToAFaceWithItsMetrics) {
    QtFont font(30.0f);
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    // Arial's digits are 0.556 em wide: four of them at 40 pixels are about 89.
    const Rectangle box = graphics->measureText(u"0000", font, {340, 0});
    EXPECT_NEAR(box.width, 88.96f + 40.0f / 3.0f, 2.0f);
    EXPECT_NEAR(box.height, 46.0f, 1.5f);
    EXPECT_FLOAT_EQ(box.x, 340.0f);
}

TEST(QtFont, AMissingFamilyFallsBackToSansSerifAndStillDraws) {
    QtFont font(30.0f, QStringLiteral("No Such Family 7f3a"));
    EXPECT_FALSE(QFontInfo(font.font).family().isEmpty());
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    graphics->drawText(u"123", font, 0xFF000000, {100, 100});
    graphics.reset();
    const auto [first, last] = inkColumns(buffer.image, 100, 150);
    EXPECT_GT(last, first);
}

TEST(QtGraphics, TextAtAPointHasTheTopOfItsLineThere) {
    QtFont font(30.0f);
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    graphics->drawText(u"8", font, 0xFF000000, {200, 200});
    graphics.reset();
    EXPECT_TRUE(rowIsWhite(buffer.image, 199));
    // The digit's top sits a little below the line's top and its ink starts after the
    // left padding of one sixth of an em.
    const auto [first, last] = inkColumns(buffer.image, 200, 250);
    EXPECT_GE(first, 200 + 5);
    EXPECT_LE(first, 200 + 12);
    EXPECT_GT(last, first);
    EXPECT_FALSE(rowIsWhite(buffer.image, 215));
    EXPECT_TRUE(rowIsWhite(buffer.image, 250));
}

TEST(QtGraphics, RightAlignedNumbersEndAtTheSameEdge) {
    QtFont font(30.0f);
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    const Rectangle box = graphics->measureText(u"0000", font, {340, 0});
    int rightEdges[4] = {};
    const std::u16string numbers[4] = {u"7", u"70", u"700", u"7000"};
    for (int i = 0; i < 4; ++i) {
        const Rectangle line{340, 50.0f * static_cast<float>(i), box.width, box.height};
        graphics->drawTextInBox(numbers[i], font, 0xFF000000, line, TextAlign::Far);
    }
    graphics.reset();
    for (int i = 0; i < 4; ++i) {
        rightEdges[i] = inkColumns(buffer.image, 50 * i + 1, 50 * i + 46).second;
    }
    for (int i = 1; i < 4; ++i) {
        EXPECT_NEAR(rightEdges[i], rightEdges[0], 1) << "number " << i;
    }
    // The ink ends inside the box, short of its right padding.
    EXPECT_LT(rightEdges[0], 340 + box.width);
    EXPECT_GT(rightEdges[0], 340 + box.width - 12);
}

TEST(QtImage, MissingFileGivesAnEmptyPictureThatDrawsNothing) {
    QtImage missing(QStringLiteral("Resources/no such picture.png"));
    EXPECT_EQ(missing.width(), 0);
    EXPECT_EQ(missing.height(), 0);
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    graphics->drawImage(missing, {10, 10});
    graphics->drawImagePart(missing, {10, 10, 75, 75}, {75, 0, 75, 75});
    graphics.reset();
    for (int y = 1; y < 599; ++y) {
        ASSERT_TRUE(buffer.image.pixel(50, y) == white);
    }
}

TEST(QtImage, PartOfAStripIsDrawnFromItsSourceRectangle) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage strip(150, 75, QImage::Format_ARGB32);
    strip.fill(0xFFFF0000);
    for (int y = 0; y < 75; ++y) {
        for (int x = 75; x < 150; ++x) {
            strip.setPixel(x, y, 0xFF0000FF);
        }
    }
    const QString path = folder.filePath(QStringLiteral("strip.png"));
    ASSERT_TRUE(strip.save(path));

    QtImage image(path);
    EXPECT_EQ(image.width(), 150);
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    graphics->drawImagePart(image, {100, 100, 75, 75}, {75, 0, 75, 75});
    graphics->drawImage(image, {300, 300});
    graphics.reset();
    EXPECT_EQ(buffer.image.pixel(137, 137), 0xFF0000FF);
    EXPECT_EQ(buffer.image.pixel(310, 310), 0xFFFF0000);
    EXPECT_EQ(buffer.image.pixel(440, 310), 0xFF0000FF);
    EXPECT_EQ(buffer.image.pixel(190, 137), white);
}

TEST(QtGraphics, OutlineIsAPenCentredOnTheEdges) {
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    graphics->outlineRectangle(0xFF323232, 5.0f, {100, 100, 200, 100});
    graphics.reset();
    // The pen reaches 2.5 pixels either side of each edge.
    EXPECT_EQ(buffer.image.pixel(98, 150), 0xFF323232);
    EXPECT_EQ(buffer.image.pixel(101, 150), 0xFF323232);
    EXPECT_EQ(buffer.image.pixel(96, 150), white);
    EXPECT_EQ(buffer.image.pixel(104, 150), white);
    EXPECT_EQ(buffer.image.pixel(200, 98), 0xFF323232);
    EXPECT_EQ(buffer.image.pixel(200, 201), 0xFF323232);
    EXPECT_EQ(buffer.image.pixel(301, 150), 0xFF323232);
    EXPECT_EQ(buffer.image.pixel(200, 150), white);
    // Mitred corners are filled square.
    EXPECT_EQ(buffer.image.pixel(98, 98), 0xFF323232);
    EXPECT_EQ(buffer.image.pixel(301, 201), 0xFF323232);
}

TEST(QtGraphics, AnOutlineFarTallerThanTheBufferShowsOnlyWhatFalls) {
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    // A working-out scrolled to the end of some 400,000 pixels of content.
    graphics->outlineRectangle(0xFF323232, 5.0f, {0, -399426, 480, 400000});
    graphics.reset();
    EXPECT_EQ(buffer.image.pixel(479, 300), 0xFF323232);
    EXPECT_EQ(buffer.image.pixel(240, 574), 0xFF323232);
    EXPECT_EQ(buffer.image.pixel(240, 300), white);
    EXPECT_EQ(buffer.image.pixel(240, 1), white);
}

TEST(QtGraphics, TextPicturesAreKeptWithinTheirBound) {
    QtFont font(30.0f);
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    for (int i = 0; i < 3000; ++i) {
        graphics->drawText(std::u16string(u"n") + static_cast<char16_t>(u'0' + i % 10) +
                               static_cast<char16_t>(0x100 + i),
                           font, 0xFF000000, {10, 10});
    }
    EXPECT_LE(font.sprites->bytes(), font.sprites->budget());
    EXPECT_GT(font.sprites->size(), 0u);
}

TEST(QtGraphics, FontsOfOneSizeShareTheirTextPicturesAndOtherSizesDoNot) {
    QtFont first(30.0f);
    QtFont second(30.0f);
    QtFont smaller(20.0f);
    EXPECT_EQ(first.sprites, second.sprites);
    EXPECT_NE(first.sprites, smaller.sprites);
}

TEST(QtGraphics, TheSameTextInAnotherColourIsDrawnInThatColour) {
    QtFont font(30.0f);
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    graphics->drawText(u"I", font, 0xFFFA1E1E, {100, 100});
    graphics->drawText(u"I", font, 0xFF1E1E64, {300, 100});
    graphics.reset();
    // The stem of the I is solid ink in the middle of its line.
    bool redFound = false;
    bool blueFound = false;
    for (int x = 100; x < 140; ++x) {
        redFound = redFound || buffer.image.pixel(x, 125) == 0xFFFA1E1E;
    }
    for (int x = 300; x < 340; ++x) {
        blueFound = blueFound || buffer.image.pixel(x, 125) == 0xFF1E1E64;
    }
    EXPECT_TRUE(redFound);
    EXPECT_TRUE(blueFound);
}
