// The Qt present path's pieces: the window's copy of a frame is reused and reports
// exactly the part that changed, and the text pictures stay within their byte budget,
// dropping the least recently drawn first, without changing how text looks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <random>
#include <string>

#include "platform/qt/QtDrawing.h"
#include "platform/qt/QtFrameCopy.h"
#include "platform/qt/QtHost.h"
#include "platform/qt/QtPointer.h"
#include "platform/qt/QtTextSprites.h"

namespace {

// The full-width band of rows from the first to the last in which two images of one
// size differ.
QRect differingRows(const QImage& a, const QImage& b) {
    QRect band;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                band |= QRect(0, y, a.width(), 1);
                break;
            }
        }
    }
    return band;
}

TEST(FrameCopy, TheFirstFrameIsCopiedWhole) {
    QtBackBuffer buffer(800, 600);
    QImage shown;
    EXPECT_EQ(copyChangedPixels(buffer.image, shown), QRect(0, 0, 800, 600));
    EXPECT_EQ(shown, buffer.image);
}

TEST(FrameCopy, RandomChangesAreCopiedIntoTheSameMemoryAndReportedExactly) {
    QImage frame(203, 150, QImage::Format_RGB32);
    frame.fill(Qt::white);
    QImage shown;
    copyChangedPixels(frame, shown);
    const uchar* memory = shown.constBits();
    std::mt19937 random(5);
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const QImage before = shown.copy();
        const int changes = static_cast<int>(random() % 3);
        for (int i = 0; i < changes; ++i) {
            const QRect area(static_cast<int>(random() % 203), static_cast<int>(random() % 150),
                             1 + static_cast<int>(random() % 40),
                             1 + static_cast<int>(random() % 40));
            QPainter(&frame).fillRect(area, QColor::fromRgb(static_cast<QRgb>(random())));
        }
        const QRect expected = differingRows(before, frame);
        EXPECT_EQ(copyChangedPixels(frame, shown), expected);
        EXPECT_EQ(shown, frame);
        EXPECT_EQ(shown.constBits(), memory);
    }
}

class NoMessages : public MessageHandler {
public:
    void handleMessage(const Message&) override {}
};

// The window keeps one picture, updated in place, and paints all of it whenever it is
// asked to, as when it is uncovered.
TEST(Present, TheWindowKeepsTheLastFrameInOnePictureAndPaintsItWhenAsked) {
    QtDrawingServices drawing;
    QtHost host(drawing);
    NoMessages handler;
    host.createMainWindow({u"Bricketing - Quillmoor", 100, 100, 800, 600}, handler);
    auto buffer = host.createBackBuffer(800, 600);
    host.present(*buffer);
    const uchar* memory = host.mainWindow()->frame.constBits();
    for (const QRgb colour : {0xFFEEE2B7u, 0xFF963296u, 0xFF329632u}) {
        auto graphics = buffer->beginDrawing();
        graphics->fillRectangle(colour, {721, 465, 63, 75});
        graphics.reset();
        host.present(*buffer);
        EXPECT_EQ(host.mainWindow()->frame.constBits(), memory);
        const QImage painted = host.mainWindow()->grab().toImage();
        EXPECT_EQ(painted.pixel(750, 500), colour);
        EXPECT_EQ(painted.pixel(300, 300), 0xFFFFFFFFu);
        EXPECT_EQ(painted.pixel(0, 300), 0xFF000000u);  // the buffer's outline
    }
}

// On a screen with more device pixels than pixels, the buffer holds device pixels and
// the window is measured in its own: every part of the frame lands where it is drawn,
// and a change repaints the window's rows that show it.
TEST(Present, AFinerBufferIsShownWholeAtItsOwnPlaces) {
    QtDrawingServices drawing;
    QtHost host(drawing);
    NoMessages handler;
    host.createMainWindow({u"Bricketing - Quillmoor", 100, 100, 800, 600}, handler);
    QtBackBuffer buffer(800, 600, 2.0);
    host.present(buffer);
    for (const QRgb colour : {0xFF963296u, 0xFF329632u}) {
        auto graphics = buffer.beginDrawing();
        graphics->fillRectangle(colour, {721, 465, 63, 75});
        graphics.reset();
        host.present(buffer);
        const QImage painted = host.mainWindow()->grab().toImage();
        const qreal scale = painted.devicePixelRatio();
        const auto at = [&](int x, int y) { return painted.pixel(x * scale, y * scale); };
        EXPECT_EQ(at(750, 500), colour);
        EXPECT_EQ(at(300, 300), 0xFFFFFFFFu);
        EXPECT_EQ(at(0, 300), 0xFF000000u);    // the outline's left edge
        EXPECT_EQ(at(799, 300), 0xFF000000u);  // and its right edge, not cut off
    }
}

// The pointer's position comes from the window's events; the window system is asked
// only before the first one and once after the pointer left the window.
TEST(Present, ThePointerIsAskedForOnlyWhenTheEventsCannotTell) {
    QWindow window;
    window.setGeometry(100, 100, 800, 600);
    QtPointer pointer;
    pointer.watch(&window);
    QCursor::setPos(150, 150);
    if (QCursor::pos() != QPoint(150, 150)) {
        GTEST_SKIP() << "this platform cannot place the pointer";
    }
    EXPECT_EQ(pointer.positionIn(nullptr), QPoint(150, 150));
    QCursor::setPos(160, 150);
    EXPECT_EQ(pointer.positionIn(nullptr), QPoint(150, 150)) << "outside: asked once, then kept";

    QEnterEvent enter(QPointF(60, 50), QPointF(60, 50), QPointF(160, 150));
    QCoreApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(pointer.movedSinceRead());
    EXPECT_EQ(pointer.positionIn(nullptr), QPoint(160, 150)) << "from the Enter event";
    EXPECT_FALSE(pointer.movedSinceRead());
    QCursor::setPos(170, 150);  // no event reaches the window for this one
    EXPECT_EQ(pointer.positionIn(nullptr), QPoint(160, 150)) << "inside: kept";

    QMouseEvent move(QEvent::MouseMove, QPointF(75, 50), QPointF(75, 50), QPointF(175, 150),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
    EXPECT_EQ(pointer.positionIn(nullptr), QPoint(175, 150)) << "from the move event";
    EXPECT_EQ(pointer.questions(), 1);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&window, &leave);
    EXPECT_TRUE(pointer.movedSinceRead());
    QCursor::setPos(900, 20);
    EXPECT_EQ(pointer.positionIn(nullptr), QPoint(900, 20)) << "outside again: asked";
    QCursor::setPos(950, 20);
    EXPECT_EQ(pointer.positionIn(nullptr), QPoint(900, 20)) << "and then kept";
    EXPECT_EQ(pointer.questions(), 2);
}

QFont thirtyPoint() {
    return QtFont(30.0f).font;
}

std::u16string numbered(int i) {
    return u"line " + QString::number(i).toStdU16String();
}

TEST(TextSprites, ManyStringsStayWithinTheBudget) {
    TextSpriteCache cache(512 * 1024);
    const QFont font = thirtyPoint();
    for (int i = 0; i < 600; ++i) {
        cache.sprite(font, numbered(i), 0xFF1E1E1E);
        ASSERT_LE(cache.bytes(), cache.budget()) << "after string " << i;
    }
    EXPECT_GT(cache.size(), 5u);
    EXPECT_LT(cache.size(), 600u);
}

// The program's own caches, fed far more strings than a screen holds.
TEST(TextSprites, TheProgramsCachesLevelOffAtTheirBudget) {
    QtFont font(30.0f);
    QtBackBuffer buffer(800, 600);
    auto graphics = buffer.beginDrawing();
    for (int i = 0; i < 3000; ++i) {
        graphics->drawText(numbered(100000 + i), font, 0xFF000000, {10, 10});
    }
    EXPECT_LE(font.sprites->bytes(), TextSpriteCache::defaultBudgetBytes);
    EXPECT_GT(font.sprites->bytes(), TextSpriteCache::defaultBudgetBytes / 2);
}

TEST(TextSprites, StringsInUseStayWhileUnusedOnesGo) {
    const QFont font = thirtyPoint();
    const std::size_t oneSprite =
        static_cast<std::size_t>(TextSpriteCache().sprite(font, u"line 1", 0).image.sizeInBytes());
    TextSpriteCache cache(oneSprite * 8);
    const qint64 hot = cache.sprite(font, u"hot", 0xFF000000).image.cacheKey();
    const qint64 cold = cache.sprite(font, u"cold", 0xFF000000).image.cacheKey();
    for (int i = 0; i < 50; ++i) {
        cache.sprite(font, numbered(i), 0xFF000000);
        EXPECT_EQ(cache.sprite(font, u"hot", 0xFF000000).image.cacheKey(), hot);
    }
    EXPECT_NE(cache.sprite(font, u"cold", 0xFF000000).image.cacheKey(), cold);
}

TEST(TextSprites, APictureMadeAgainLooksTheSame) {
    const QFont font = thirtyPoint();
    TextSpriteCache cache(1);  // smaller than any picture: each new one replaces the last
    const TextSprite first = cache.sprite(font, u"1999 \u00F7 7", 0xFF963296);
    cache.sprite(font, u"other", 0xFF963296);
    EXPECT_EQ(cache.size(), 1u);
    const TextSprite& again = cache.sprite(font, u"1999 \u00F7 7", 0xFF963296);
    EXPECT_NE(again.image.cacheKey(), first.image.cacheKey());
    EXPECT_EQ(again.image, first.image);
    EXPECT_EQ(again.offset, first.offset);
}

TEST(TextSprites, TheSameTextInTwoColoursIsTwoPictures) {
    const QFont font = thirtyPoint();
    TextSpriteCache cache;
    const QImage red = cache.sprite(font, u"7", 0xFFFA3232).image;
    const QImage black = cache.sprite(font, u"7", 0xFF1E1E1E).image;
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_NE(red, black);
}
}  // namespace
