// The Qt 6 implementation of the drawing side of the platform layer: fonts, images,
// drawing passes and the 800 x 600 back buffer, all on QImage and QPainter.
//
// Sizes and text layout follow GDI+, which the program's layout was made for: point
// sizes are taken at 96 dots per inch whatever the screen says, text drawn at a point
// has the top of its line there, and a measured string carries 1/6 em of padding on
// either side of its glyphs.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "platform/Drawing.h"
#include "platform/qt/QtTextSprites.h"

class QtFont : public Font {
public:
    // Arial by default; a family that is not installed falls back to the generic
    // sans-serif family.
    explicit QtFont(float sizeInPoints, const QString& family = QStringLiteral("Arial"));
    float sizeInPoints() const override { return points; }
    float lineHeightAtDpi(float dotsPerInch) const override;

    QFont font;
    float points = 0.0f;
    float emPixels = 0.0f;
    float lineSpacing = 0.0f;                  // pixels from one line to the next
    float lineSpacingPerEm = 0.0f;             // the same in ems, for other resolutions
    float ascent = 0.0f;                       // pixels from the top of a line to its baseline
    std::shared_ptr<TextSpriteCache> sprites;  // shared by fonts of this family and size
};

// A picture and, where one was made, its twice-as-fine version: the file of the same
// name in the 2x folder beside it. Sizes are always those of the plain picture.
class QtImage : public Image {
public:
    explicit QtImage(const QString& path);
    int width() const override { return image.width(); }
    int height() const override { return image.height(); }
    QImage image;    // null when the file was missing or unreadable
    QImage doubled;  // null unless a 2x file of exactly twice the size was found
};

// Where the twice-as-fine version of the picture at path is kept.
QString doubledPicturePath(const QString& path);

class QtGraphics : public Graphics {
public:
    explicit QtGraphics(QImage& target);
    void fillRectangle(Colour colour, const Rectangle& area) override;
    void outlineRectangle(Colour colour, float penWidth, const Rectangle& area) override;
    void drawText(const std::u16string& text, const Font& font, Colour colour,
                  Point origin) override;
    void drawTextInBox(const std::u16string& text, const Font& font, Colour colour,
                       const Rectangle& box, TextAlign align) override;
    Rectangle measureText(const std::u16string& text, const Font& font, Point origin) override;
    void drawImage(const Image& image, Point topLeft) override;
    void drawImagePart(const Image& image, const Rectangle& destination,
                       const Rectangle& source) override;

private:
    // The picture to draw and the factor from layout pixels to its pixels: the 2x
    // version when the surface has more than one pixel per layout pixel.
    std::pair<const QImage*, qreal> pictureFor(const QtImage& image) const;
    // Draws text with the left end of its baseline at the given point, rounded to
    // whole pixels as the font system places glyphs.
    void drawAtBaseline(const QtFont& font, const std::u16string& text, Colour colour, float x,
                        float baselineY);
    QPainter painter;
};

// The buffer is measured in layout pixels; on a screen with more device pixels per
// layout pixel it holds that many more, so that text and pictures are drawn at the
// screen's own resolution.
class QtBackBuffer : public BackBuffer {
public:
    QtBackBuffer(int width, int height, qreal devicePixelRatio = 1.0);
    int width() const override { return layoutWidth; }
    int height() const override { return layoutHeight; }
    void clear() override;
    std::unique_ptr<Graphics> beginDrawing() override;
    QImage image;

private:
    int layoutWidth = 0;
    int layoutHeight = 0;
};

class QtDrawingServices : public DrawingServices {
public:
    std::unique_ptr<Font> makeFont(float sizeInPoints) override;
    std::unique_ptr<Image> loadImage(const std::string& path) override;
    void showHandCursor() override;
    // Where the hand cursor is shown; the backend's main window sets it.
    class QWidget* cursorWidget = nullptr;

private:
    std::vector<std::unique_ptr<QtFont>> madeFonts;  // one of each size made so far
};

QColor toQColor(Colour colour);
QString toQString(const std::u16string& text);
