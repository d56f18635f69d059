// The Qt drawing backend: the cleared buffer's pixels, fonts at GDI+ sizes with their
// fallback, text placed and measured as the layout expects, and pictures.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>

#include <sys/stat.h>

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

// A strip of two 20 x 10 frames, red then blue, with its 2x version in the 2x folder
// beside it: the same frames in green and yellow, at 40 x 20, and one white pixel in
// the corner of each frame that only the finer picture can show.
class DoubledPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkpath("2x"));
        path = folder.filePath("strip.png");
        ASSERT_TRUE(frames(1, {0xFFFF0000, 0xFF0000FF}).save(path));
        ASSERT_TRUE(frames(2, {0xFF00FF00, 0xFFFFFF00}).save(doubledPicturePath(path)));
    }

    static QImage frames(int scale, std::array<QRgb, 2> colours) {
        QImage strip(40 * scale, 10 * scale, QImage::Format_ARGB32);
        for (int frame = 0; frame < 2; ++frame) {
            const QRect area(20 * scale * frame, 0, 20 * scale, 10 * scale);
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    strip.setPixel(x, y, colours[static_cast<std::size_t>(frame)]);
                }
            }
            strip.setPixel(area.topLeft(), white);
        }
        return strip;
    }

    // A surface with ratio device pixels per layout pixel, as the window's buffer is
    // on a screen at that scale.
    static QImage surface(int ratio) {
        QImage image(200 * ratio, 100 * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::black);
        return image;
    }

    QTemporaryDir folder;
    QString path;
};

TEST_F(DoubledPictureTest, TheSizesAreThoseOfThePlainPicture) {
    QtImage image(path);
    EXPECT_EQ(image.width(), 40);
    EXPECT_EQ(image.height(), 10);
    EXPECT_EQ(image.doubled.size(), QSize(80, 20));
}

TEST_F(DoubledPictureTest, AtTwoDevicePixelsTheFinePictureFillsTheSameBox) {
    QtImage image(path);
    QImage target = surface(2);
    {
        QtGraphics graphics(target);
        graphics.drawImage(image, {10, 10});  // layout 10..50 x 10..20
        graphics.drawImagePart(image, {100, 50, 20, 10}, {20, 0, 20, 10});  // the second frame
    }
    // Whole picture: device pixels 20..99 x 20..39, green then yellow.
    EXPECT_EQ(target.pixel(20, 20), white);  // the finer picture's single corner pixel
    EXPECT_EQ(target.pixel(21, 20), 0xFF00FF00);
    EXPECT_EQ(target.pixel(20, 21), 0xFF00FF00);
    EXPECT_EQ(target.pixel(59, 39), 0xFF00FF00);
    EXPECT_EQ(target.pixel(60, 20), white);
    EXPECT_EQ(target.pixel(61, 21), 0xFFFFFF00);
    EXPECT_EQ(target.pixel(99, 39), 0xFFFFFF00);
    EXPECT_EQ(target.pixel(100, 30), black);
    EXPECT_EQ(target.pixel(50, 40), black);
    EXPECT_EQ(target.pixel(19, 19), black);
    // The second frame alone: device 200..239 x 100..119.
    EXPECT_EQ(target.pixel(200, 100), white);
    EXPECT_EQ(target.pixel(201, 101), 0xFFFFFF00);
    EXPECT_EQ(target.pixel(239, 119), 0xFFFFFF00);
    EXPECT_EQ(target.pixel(240, 110), black);
    EXPECT_EQ(target.pixel(199, 110), black);
}

TEST_F(DoubledPictureTest, AtOneDevicePixelThePlainPictureIsDrawn) {
    QtImage image(path);
    QImage target = surface(1);
    {
        QtGraphics graphics(target);
        graphics.drawImage(image, {10, 10});
        graphics.drawImagePart(image, {100, 50, 20, 10}, {20, 0, 20, 10});
    }
    EXPECT_EQ(target.pixel(11, 11), 0xFFFF0000);
    EXPECT_EQ(target.pixel(31, 11), 0xFF0000FF);
    EXPECT_EQ(target.pixel(101, 51), 0xFF0000FF);
    EXPECT_EQ(target.pixel(50, 10), black);
}

TEST_F(DoubledPictureTest, WithoutAFitting2xFileThePlainPictureIsScaled) {
    // A 2x file of the wrong size is no 2x picture.
    ASSERT_TRUE(frames(1, {0xFF00FF00, 0xFFFFFF00}).save(doubledPicturePath(path)));
    QtImage image(path);
    EXPECT_TRUE(image.doubled.isNull());
    QImage target = surface(2);
    {
        QtGraphics graphics(target);
        graphics.drawImage(image, {10, 10});
    }
    EXPECT_EQ(target.pixel(30, 30), 0xFFFF0000);
    EXPECT_EQ(target.pixel(70, 30), 0xFF0000FF);
}

// Whatever stands under a picture's name or its 2x twin's, loading it returns at once:
// a FIFO nobody writes to, a device and a folder give no picture (the plain one then
// stands without its finer version), and nothing waits. Each load runs on a thread of
// its own so that a hang fails the test instead of stopping the run.
TEST_F(DoubledPictureTest, SpecialFilesInPlaceOfAPictureGiveNoPictureAtOnce) {
    struct Case {
        const char* name;
        bool twin;  // in place of the 2x file rather than the picture itself
        std::function<bool(const QString&)> make;
    };
    const auto linkTo = [](const char* target) {
        return [target](const QString& at) { return QFile::link(QString(target), at); };
    };
    const Case cases[] = {
        {"a FIFO", false,
         [](const QString& at) { return mkfifo(QFile::encodeName(at), 0600) == 0; }},
        {"a FIFO as the 2x twin", true,
         [](const QString& at) { return mkfifo(QFile::encodeName(at), 0600) == 0; }},
        {"/dev/zero", false, linkTo("/dev/zero")},
        {"/dev/urandom as the 2x twin", true, linkTo("/dev/urandom")},
        {"a folder", false, [](const QString& at) { return QDir().mkpath(at); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString at = c.twin ? doubledPicturePath(path) : path;
        ASSERT_TRUE(QFile::remove(at));
        ASSERT_TRUE(c.make(at));
        std::packaged_task<QSize()> load([this] {
            const QtImage image(path);
            return QSize(image.width(), image.doubled.isNull() ? 0 : image.doubled.width());
        });
        std::future<QSize> loaded = load.get_future();
        std::thread(std::move(load)).detach();
        if (loaded.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            std::fprintf(stderr, "loading %s did not return within 20 seconds\n", c.name);
            std::abort();
        }
        EXPECT_EQ(loaded.get(), c.twin ? QSize(40, 0) : QSize(0, 0));
        QFile::remove(at);
        QDir(at).removeRecursively();
        ASSERT_TRUE(frames(1, {0xFFFF0000, 0xFF0000FF}).save(path));
        ASSERT_TRUE(frames(2, {0xFF00FF00, 0xFFFFFF00}).save(doubledPicturePath(path)));
    }
}

TEST(QtBackBuffer, OnAFinerScreenTheBufferHoldsMorePixelsInTheSameLayout) {
    QtBackBuffer buffer(800, 600, 2.0);
    EXPECT_EQ(buffer.width(), 800);
    EXPECT_EQ(buffer.height(), 600);
    EXPECT_EQ(buffer.image.size(), QSize(1600, 1200));
    // The outline is one layout pixel: two device pixels along each edge.
    for (const QPoint at : {QPoint(0, 600), QPoint(1, 600), QPoint(1599, 7), QPoint(1598, 7),
                            QPoint(800, 0), QPoint(800, 1), QPoint(800, 1198), QPoint(9, 1199)}) {
        EXPECT_EQ(buffer.image.pixel(at), black) << at.x() << ", " << at.y();
    }
    for (const QPoint at : {QPoint(2, 600), QPoint(1597, 7), QPoint(800, 2), QPoint(9, 1197)}) {
        EXPECT_EQ(buffer.image.pixel(at), white) << at.x() << ", " << at.y();
    }
    auto graphics = buffer.beginDrawing();
    graphics->fillRectangle(0xFFEEE2B7, {10, 20, 30, 40});
    graphics.reset();
    EXPECT_EQ(buffer.image.pixel(20, 40), 0xFFEEE2B7);
    EXPECT_EQ(buffer.image.pixel(79, 119), 0xFFEEE2B7);
    EXPECT_EQ(buffer.image.pixel(80, 120), white);
}

// Pixels of text that are neither background nor full ink: the soft edges of glyphs.
int softPixels(const QImage& image) {
    int soft = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            soft += pixel != white && pixel != black && qGray(pixel) < 250 ? 1 : 0;
        }
    }
    return soft;
}

TEST(QtGraphics, TextOnAFinerScreenIsDrawnAtItsResolution) {
    QtFont font(30.0f);
    const std::u16string text = u"345 \u00F7 7";
    QtBackBuffer plain(300, 60, 1.0);
    QtBackBuffer fine(300, 60, 2.0);
    for (QtBackBuffer* buffer : {&plain, &fine}) {
        buffer->image.fill(Qt::white);
        auto graphics = buffer->beginDrawing();
        graphics->drawText(text, font, 0xFF000000, {10, 5});
    }
    // Same place in the layout.
    const auto [plainLeft, plainRight] = inkColumns(plain.image, 0, 60);
    const auto [fineLeft, fineRight] = inkColumns(fine.image, 0, 120);
    EXPECT_NEAR(fineLeft, 2 * plainLeft, 3);
    EXPECT_NEAR(fineRight, 2 * plainRight, 3);
    // Glyph edges twice as long but no wider: about twice the soft pixels of the plain
    // text, where a plain picture stretched to the finer screen has four times as many.
    const int plainSoft = softPixels(plain.image);
    const int fineSoft = softPixels(fine.image);
    EXPECT_LT(fineSoft, 3 * plainSoft);
    const QImage stretched =
        plain.image.scaled(600, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_GT(softPixels(stretched), 3 * plainSoft) << "the measure cannot tell them apart";
}

TEST(QtImage, EveryShippedPictureHasItsFinerVersion) {
    const char* pictures[] = {
        "btnNewQuestion.png", "btnCreateQuestion.png", "btnRestartQuestion.png", "btnSettings.png",
        "btnHelp.png",        "btnExit.png",           "Quillmoor_200.png",      "Mox_73.png",
        "balloon.png",        "Repeat icon_25.png",    "Delete icon_25.png",     "Up icon_40.png"};
    for (const char* name : pictures) {
        QtImage image(QStringLiteral("Resources/") + name);
        EXPECT_FALSE(image.image.isNull()) << name;
        EXPECT_EQ(image.doubled.size(), QSize(image.width(), image.height()) * 2) << name;
    }
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
