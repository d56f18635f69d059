// The GDI+ drawing backend: the cleared buffer's pixels, rectangles and pen widths,
// fonts with GDI+'s sizes and Arial's metrics, text placed and measured as the layout
// expects, PNG pictures (whole, in part, missing, double resolution) and the buffer on
// a scaled monitor.
#include <gtest/gtest.h>

#include "Win32TestSupport.h"

#include <cmath>
#include <random>

namespace {
constexpr Colour white = 0xFFFFFFFF;
constexpr Colour black = 0xFF000000;
// What the Qt backend measures for "0000" at 30 points: four Arial digits of 0.556 em
// at 40 pixels to the em, and 1/6 em of padding on either side.
constexpr float qtWidthOf0000 = 88.96f + 40.0f / 3.0f;

float fixedScale() {
    return 1.0f;
}

Win32BackBuffer makeBuffer(std::function<float()> scale = fixedScale) {
    return Win32BackBuffer(nullptr, 800, 600, std::move(scale));
}

void expectClearedAtDevicePixels(const Pixels& pixels) {
    const int right = pixels.width() - 1;
    const int bottom = pixels.height() - 1;
    for (int y = 0; y <= bottom; ++y) {
        ASSERT_EQ(pixels.at(0, y), black) << "left column, y " << y;
        ASSERT_EQ(pixels.at(right, y), black) << "right column, y " << y;
    }
    for (int x = 0; x <= right; ++x) {
        ASSERT_EQ(pixels.at(x, 0), black) << "top row, x " << x;
        ASSERT_EQ(pixels.at(x, bottom), black) << "bottom row, x " << x;
    }
    for (int y = 1; y < bottom; ++y) {
        for (int x = 1; x < right; ++x) {
            ASSERT_EQ(pixels.at(x, y), white) << "inside at " << x << ", " << y;
        }
    }
}
}  // namespace

TEST(Win32BackBuffer, ClearedBufferIsWhiteInsideWithABlackOutline) {
    Win32BackBuffer buffer = makeBuffer();
    EXPECT_EQ(buffer.pixelWidth(), 800);
    EXPECT_EQ(buffer.pixelHeight(), 600);
    expectClearedAtDevicePixels(Pixels(buffer));  // fresh from creation

    buffer.beginDrawing()->fillRectangle(0xFF123456, {0, 0, 800, 600});
    EXPECT_EQ(Pixels(buffer).at(400, 300), 0xFF123456u);
    buffer.clear();
    expectClearedAtDevicePixels(Pixels(buffer));
}

TEST(Win32BackBuffer, RectanglesLandOnTheirPixels) {
    struct Case {
        Box area;
        Colour colour;
    };
    const Case cases[] = {
        {{10, 20, 30, 40}, 0xFFEEE2B7},
        {{400, 300, 1, 1}, 0xFF0000FF},
        {{700, 500, 99, 99}, 0xFFFF0000},
        {{-20, -20, 50, 50}, 0xFF00FF00},  // partly off the buffer
    };
    for (const Case& c : cases) {
        Win32BackBuffer buffer = makeBuffer();
        buffer.beginDrawing()->fillRectangle(c.colour, c.area);
        const Pixels pixels(buffer);
        const int left = std::max(0, static_cast<int>(c.area.x));
        const int top = std::max(0, static_cast<int>(c.area.y));
        const int right = static_cast<int>(c.area.x + c.area.width) - 1;
        const int bottom = static_cast<int>(c.area.y + c.area.height) - 1;
        EXPECT_EQ(pixels.at(left, top), c.colour) << "top-left of " << c.area.x;
        EXPECT_EQ(pixels.at(right, bottom), c.colour) << "bottom-right of " << c.area.x;
        if (right + 1 < 799 && bottom + 1 < 599) {
            EXPECT_NE(pixels.at(right + 1, bottom + 1), c.colour) << "beyond " << c.area.x;
        }
        if (c.area.x > 1 && c.area.y > 1) {
            EXPECT_NE(pixels.at(left - 1, top - 1), c.colour) << "before " << c.area.x;
        }
    }
}

TEST(Win32BackBuffer, RandomRectanglesFillExactlyTheirPixels) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> place(2, 700);
    std::uniform_int_distribution<int> size(1, 90);
    Win32BackBuffer buffer = makeBuffer();
    for (int i = 0; i < 40; ++i) {
        buffer.clear();
        const Box area{static_cast<float>(place(random)),
                       static_cast<float>(2 + place(random) % 490),
                       static_cast<float>(size(random)), static_cast<float>(size(random))};
        const Colour colour = 0xFF000000u | static_cast<Colour>(random() & 0xFFFFFF);
        buffer.beginDrawing()->fillRectangle(colour, area);
        const Pixels pixels(buffer);
        int inside = 0;
        for (int y = 1; y < 599; ++y) {
            for (int x = 1; x < 799; ++x) {
                const bool within = x >= area.x && x < area.x + area.width && y >= area.y &&
                                    y < area.y + area.height;
                const bool painted = pixels.at(x, y) == colour;
                if (colour != white) {
                    ASSERT_EQ(painted, within) << "rectangle " << i << " at " << x << ", " << y;
                }
                inside += painted ? 1 : 0;
            }
        }
        if (colour != white) {
            EXPECT_EQ(inside, static_cast<int>(area.width * area.height)) << "rectangle " << i;
        }
    }
}

// The ink of a line across the outline's edge at position edge, read along a row or a
// column of pixels: how many pixels are inked and where their middle is.
struct Band {
    int count = 0;
    float middle = 0.0f;
};

Band bandAround(const Pixels& pixels, int edge, bool alongRow, int at, Colour colour) {
    Band band;
    int sum = 0;
    for (int i = edge - 12; i <= edge + 12; ++i) {
        const Colour c = alongRow ? pixels.at(i, at) : pixels.at(at, i);
        if (c == colour) {
            ++band.count;
            sum += i;
        }
    }
    band.middle = band.count > 0 ? static_cast<float>(sum) / band.count : -1.0f;
    return band;
}

TEST(Win32Graphics, OutlinesArePensOfTheirWidthCentredOnTheEdges) {
    constexpr Colour grey = 0xFF323232;
    for (float penWidth : {1.0f, 2.0f, 3.0f, 5.0f, 10.0f}) {
        Win32BackBuffer buffer = makeBuffer();
        buffer.beginDrawing()->outlineRectangle(grey, penWidth, {100, 100, 200, 100});
        const Pixels pixels(buffer);
        const Band edges[] = {
            bandAround(pixels, 100, true, 150, grey),   // left, across row 150
            bandAround(pixels, 300, true, 150, grey),   // right
            bandAround(pixels, 100, false, 200, grey),  // top, down column 200
            bandAround(pixels, 200, false, 200, grey),  // bottom
        };
        const int expectedEdges[] = {100, 300, 100, 200};
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(edges[i].count, penWidth, 1.0f) << "edge " << i << ", pen " << penWidth;
            EXPECT_NEAR(edges[i].middle, static_cast<float>(expectedEdges[i]), 1.0f)
                << "edge " << i << ", pen " << penWidth;
        }
        EXPECT_EQ(pixels.at(200, 150), white) << "inside, pen " << penWidth;
        // The edges meet where the rectangle's corner is. (How the pen's corners are
        // joined outside that point is GDI+'s business: Windows mitres them, Wine leaves
        // a notch.)
        EXPECT_EQ(pixels.at(100, 100), grey) << "corner, pen " << penWidth;
        EXPECT_EQ(pixels.at(300, 200), grey) << "corner, pen " << penWidth;
    }
}

// The working-out's outline can be hundreds of thousands of pixels tall; what shows of
// it must be what a rectangle of ordinary size with the same visible edges shows.
TEST(Win32Graphics, AHugeOutlineShowsWhatAnOrdinaryOneWithTheSameVisibleEdgesShows) {
    Win32BackBuffer huge = makeBuffer();
    huge.beginDrawing()->outlineRectangle(0xFF323232, 5.0f, {20, -399426, 480, 400000});
    Win32BackBuffer ordinary = makeBuffer();
    ordinary.beginDrawing()->outlineRectangle(0xFF323232, 5.0f, {20, -426, 480, 1000});
    const Pixels a(huge);
    const Pixels b(ordinary);
    int differing = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            differing += a.at(x, y) != b.at(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(a.at(21, 300), 0xFF323232u);   // left edge
    EXPECT_EQ(a.at(500, 300), 0xFF323232u);  // right edge
    EXPECT_EQ(a.at(300, 574), 0xFF323232u);  // bottom edge at 574
    EXPECT_EQ(a.at(300, 300), white);
}

TEST(Win32Font, ThirtyPointArialHasArialsMetrics) {
    const auto font = makeFont(30.0f);
    EXPECT_FLOAT_EQ(font->sizeInPoints(), 30.0f);
    // Arial's line spacing is 1.15 em: 46 pixels at 96 DPI for a 40-pixel em.
    EXPECT_NEAR(font->lineHeightAtDpi(96.0f), 46.0f, 1.0f);
    EXPECT_NEAR(font->lineHeightAtDpi(192.0f), 92.0f, 2.0f);

    Win32BackBuffer buffer = makeBuffer();
    const Box box = buffer.beginDrawing()->measureText(u"0000", *font, {340, 0});
    EXPECT_NEAR(box.width, qtWidthOf0000, 3.0f);
    // Windows' GDI+ gives the line spacing, 46; Wine's gives ascent plus descent, 44.
    EXPECT_NEAR(box.height, 45.0f, 1.5f);
    EXPECT_FLOAT_EQ(box.x, 340.0f);
    EXPECT_FLOAT_EQ(box.y, 0.0f);
}

TEST(Win32Font, MeasuredWidthsGrowWithTheTextAndTheSize) {
    Win32BackBuffer buffer = makeBuffer();
    auto graphics = buffer.beginDrawing();
    const auto thirty = makeFont(30.0f);
    const auto twenty = makeFont(20.0f);
    float previous = 0.0f;
    for (const std::u16string text : {u"0", u"00", u"000", u"0000", u"00000"}) {
        const float width = graphics->measureText(text, *thirty, {0, 0}).width;
        EXPECT_GT(width, previous) << text.size() << " digits";
        // Each digit adds 0.556 em.
        if (previous > 0.0f) {
            EXPECT_NEAR(width - previous, 22.24f, 1.0f) << text.size() << " digits";
        }
        previous = width;
        EXPECT_NEAR(graphics->measureText(text, *twenty, {0, 0}).width, width * 2.0f / 3.0f, 2.0f);
    }
}

TEST(Win32Font, AMissingFamilyFallsBackToSansSerifAndStillDraws) {
    const Win32Font font(30.0f, L"No Such Family Anywhere");
    ASSERT_TRUE(font.usable());
    Win32BackBuffer buffer = makeBuffer();
    buffer.beginDrawing()->drawText(u"8888", font, black, {50, 50});
    const auto [first, last] = Pixels(buffer).inkColumns(50, 100);
    EXPECT_GT(last, first + 40);
}

TEST(Win32Graphics, TextAtAPointHasTheTopOfItsLineThere) {
    const auto font = makeFont(30.0f);
    Win32BackBuffer buffer = makeBuffer();
    buffer.beginDrawing()->drawText(u"8", *font, black, {200, 200});
    const Pixels pixels(buffer);
    // The line starts at y = 200, and an 8 has some space above it within the line.
    EXPECT_TRUE(pixels.rowIsWhite(199));
    EXPECT_TRUE(pixels.rowIsWhite(203));
    EXPECT_FALSE(pixels.rowIsWhite(215));
    EXPECT_TRUE(pixels.rowIsWhite(250));
    // The glyph starts after the 1/6 em of padding.
    const auto [first, last] = pixels.inkColumns(200, 246);
    EXPECT_GE(first, 200 + 5);
    EXPECT_LE(first, 200 + 12);
    EXPECT_GT(last, first + 10);
}

TEST(Win32Graphics, AlignedTextSitsWhereItsBoxSays) {
    const auto font = makeFont(30.0f);
    const Box box{300, 100, 300, 46};
    struct Case {
        TextAlign align;
        float expectedCentre;
    };
    // "123" is 66.7 pixels of glyphs: near starts after the padding, far ends before it.
    const Case cases[] = {
        {TextAlign::Near, 300.0f + 6.67f + 33.4f},
        {TextAlign::Centre, 450.0f},
        {TextAlign::Far, 600.0f - 6.67f - 33.4f},
    };
    for (const Case& c : cases) {
        Win32BackBuffer buffer = makeBuffer();
        buffer.beginDrawing()->drawTextInBox(u"123", *font, black, box, c.align);
        const auto [first, last] = Pixels(buffer).inkColumns(100, 146);
        ASSERT_LT(first, last) << "nothing drawn for alignment " << static_cast<int>(c.align);
        EXPECT_NEAR((first + last) / 2.0f, c.expectedCentre, 4.0f)
            << "alignment " << static_cast<int>(c.align);
    }
}

TEST(Win32Graphics, RightAlignedNumbersEndAtTheSameEdge) {
    const auto font = makeFont(30.0f);
    Win32BackBuffer buffer = makeBuffer();
    auto graphics = buffer.beginDrawing();
    const Box box = graphics->measureText(u"0000", *font, {340, 0});
    const std::u16string numbers[] = {u"7", u"42", u"123", u"4567"};
    // Lines from y = 10, clear of the buffer's outline.
    for (int i = 0; i < 4; ++i) {
        const Box line{340, 10.0f + 50.0f * static_cast<float>(i), box.width, box.height};
        graphics->drawTextInBox(numbers[i], *font, black, line, TextAlign::Far);
    }
    graphics.reset();
    const Pixels pixels(buffer);
    int rightEdges[4];
    for (int i = 0; i < 4; ++i) {
        rightEdges[i] = pixels.inkColumns(10 + 50 * i, 10 + 50 * i + 46).second;
        EXPECT_NEAR(rightEdges[i], rightEdges[0], 1) << "number " << i;
    }
    EXPECT_LT(rightEdges[0], 340 + box.width);
    EXPECT_GT(rightEdges[0], 340 + box.width - 12);
}

TEST(Win32Image, AMissingFileGivesAnEmptyPictureThatDrawsNothing) {
    const auto missing = loadImage("Resources/no such picture.png");
    EXPECT_EQ(missing->width(), 0);
    EXPECT_EQ(missing->height(), 0);
    Win32BackBuffer buffer = makeBuffer();
    auto graphics = buffer.beginDrawing();
    graphics->drawImage(*missing, {10, 10});
    graphics->drawImagePart(*missing, {0, 0, 800, 600}, {0, 0, 10, 10});
    graphics.reset();
    expectClearedAtDevicePixels(Pixels(buffer));
}

TEST(Win32Image, AFileThatIsNoPictureIsEmptyToo) {
    ScratchFolder scratch;
    std::FILE* file = _wfopen((scratch.path / "broken.png").wstring().c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fputs("not a picture at all", file);
    std::fclose(file);
    const WorkingDirectory inScratch(scratch.path);
    const auto broken = loadImage("broken.png");
    EXPECT_EQ(broken->width(), 0);
    EXPECT_EQ(broken->height(), 0);
}

TEST(Win32Image, APngIsDrawnAtItsPixelSize) {
    ScratchFolder scratch;
    writePng(scratch.path / "square.png", 20, 10,
             [](int x, int) { return x < 10 ? 0xFFFF0000u : 0xFF0000FFu; });
    const WorkingDirectory inScratch(scratch.path);
    const auto picture = loadImage("square.png");
    ASSERT_EQ(picture->width(), 20);
    ASSERT_EQ(picture->height(), 10);
    Win32BackBuffer buffer = makeBuffer();
    buffer.beginDrawing()->drawImage(*picture, {100, 200});
    const Pixels pixels(buffer);
    EXPECT_EQ(pixels.at(100, 200), 0xFFFF0000u);
    EXPECT_EQ(pixels.at(109, 209), 0xFFFF0000u);
    EXPECT_EQ(pixels.at(110, 200), 0xFF0000FFu);
    EXPECT_EQ(pixels.at(119, 209), 0xFF0000FFu);
    EXPECT_EQ(pixels.at(120, 205), white);
    EXPECT_EQ(pixels.at(105, 210), white);
    EXPECT_EQ(pixels.at(99, 205), white);
}

TEST(Win32Image, PartOfAStripIsDrawnFromItsSourceRectangle) {
    // Three 50-pixel frames side by side: red, blue, red; the middle one is drawn
    // stretched to twice its size.
    ScratchFolder scratch;
    writePng(scratch.path / "strip.png", 150, 50,
             [](int x, int) { return x >= 50 && x < 100 ? 0xFF0000FFu : 0xFFFF0000u; });
    const WorkingDirectory inScratch(scratch.path);
    const auto strip = loadImage("strip.png");
    ASSERT_EQ(strip->width(), 150);
    Win32BackBuffer buffer = makeBuffer();
    buffer.beginDrawing()->drawImagePart(*strip, {300, 300, 100, 100}, {50, 0, 50, 50});
    const Pixels pixels(buffer);
    for (int y : {305, 350, 395}) {
        for (int x : {305, 350, 395}) {
            EXPECT_EQ(pixels.at(x, y), 0xFF0000FFu) << x << ", " << y;
        }
    }
    EXPECT_EQ(pixels.at(405, 350), white);
    EXPECT_EQ(pixels.at(295, 350), white);
}

TEST(Win32Image, AScaledBufferUsesTheDoubleResolutionPicture) {
    ScratchFolder scratch;
    std::filesystem::create_directories(scratch.path / "Resources" / "2x");
    writePng(scratch.path / "Resources" / "icon.png", 10, 10, [](int, int) { return 0xFFFF0000u; });
    writePng(scratch.path / "Resources" / "2x" / "icon.png", 20, 20,
             [](int, int) { return 0xFF00FF00u; });
    const WorkingDirectory inScratch(scratch.path);
    const auto icon = loadImage("Resources/icon.png");
    ASSERT_EQ(icon->width(), 10);  // the layout size stays the 1x picture's

    float scale = 1.0f;
    Win32BackBuffer buffer = makeBuffer([&scale] { return scale; });
    buffer.beginDrawing()->drawImage(*icon, {50, 50});
    EXPECT_EQ(Pixels(buffer).at(55, 55), 0xFFFF0000u);

    scale = 2.0f;
    buffer.clear();
    buffer.beginDrawing()->drawImage(*icon, {50, 50});
    const Pixels pixels(buffer);
    EXPECT_EQ(pixels.at(101, 101), 0xFF00FF00u);
    EXPECT_EQ(pixels.at(118, 118), 0xFF00FF00u);
    EXPECT_EQ(pixels.at(121, 110), white);
}

TEST(Win32Image, ADoubleResolutionPictureOfTheWrongSizeIsIgnored) {
    ScratchFolder scratch;
    std::filesystem::create_directories(scratch.path / "Resources" / "2x");
    writePng(scratch.path / "Resources" / "icon.png", 10, 10, [](int, int) { return 0xFFFF0000u; });
    writePng(scratch.path / "Resources" / "2x" / "icon.png", 30, 20,
             [](int, int) { return 0xFF00FF00u; });
    const WorkingDirectory inScratch(scratch.path);
    const auto icon = loadImage("Resources/icon.png");
    Win32BackBuffer buffer = makeBuffer([] { return 2.0f; });
    buffer.beginDrawing()->drawImage(*icon, {50, 50});
    const Pixels pixels(buffer);
    EXPECT_EQ(pixels.at(110, 110), 0xFFFF0000u) << "the 1x picture, scaled";
    EXPECT_EQ(pixels.at(121, 110), white);
}

TEST(Win32BackBuffer, AtAScaleTheWholePictureIsDrawnWithMoreDevicePixels) {
    struct Case {
        float scale;
        int width;
        int height;
    };
    const Case cases[] = {{1.5f, 1200, 900}, {2.0f, 1600, 1200}, {1.25f, 1000, 750}};
    const auto font = makeFont(30.0f);
    for (const Case& c : cases) {
        Win32BackBuffer buffer = makeBuffer([&c] { return c.scale; });
        ASSERT_EQ(buffer.pixelWidth(), c.width);
        ASSERT_EQ(buffer.pixelHeight(), c.height);
        EXPECT_EQ(buffer.width(), 800);  // the program still sees 800 x 600
        expectClearedAtDevicePixels(Pixels(buffer));

        auto graphics = buffer.beginDrawing();
        graphics->fillRectangle(0xFF0000FF, {100, 100, 40, 20});
        // Layout is in buffer pixels whatever the scale.
        EXPECT_NEAR(graphics->measureText(u"0000", *font, {0, 0}).width, qtWidthOf0000, 3.0f);
        graphics->drawText(u"0000", *font, black, {0, 300});
        graphics.reset();
        const Pixels pixels(buffer);
        const int inset = static_cast<int>(c.scale) + 1;
        EXPECT_EQ(pixels.at(static_cast<int>(100 * c.scale) + inset,
                            static_cast<int>(100 * c.scale) + inset),
                  0xFF0000FFu);
        EXPECT_EQ(pixels.at(static_cast<int>(140 * c.scale) - inset,
                            static_cast<int>(120 * c.scale) - inset),
                  0xFF0000FFu);
        EXPECT_EQ(
            pixels.at(static_cast<int>(140 * c.scale) + inset, static_cast<int>(110 * c.scale)),
            white);
        const auto [first, last] =
            pixels.inkColumns(static_cast<int>(300 * c.scale), static_cast<int>(346 * c.scale));
        // Four digits less the last one's side bearing: about 84 buffer pixels of ink.
        EXPECT_NEAR(static_cast<float>(last - first) / c.scale, 84.0f, 4.0f) << "scale " << c.scale;
    }
}

TEST(Win32BackBuffer, FollowsTheScaleWhenTheWindowMovesToAnotherMonitor) {
    float scale = 1.0f;
    Win32BackBuffer buffer = makeBuffer([&scale] { return scale; });
    EXPECT_EQ(buffer.pixelWidth(), 800);
    scale = 1.5f;
    buffer.clear();
    EXPECT_EQ(buffer.pixelWidth(), 1200);
    EXPECT_EQ(buffer.pixelHeight(), 900);
    expectClearedAtDevicePixels(Pixels(buffer));
    scale = 1.0f;
    buffer.clear();
    EXPECT_EQ(buffer.pixelWidth(), 800);
    expectClearedAtDevicePixels(Pixels(buffer));
}
