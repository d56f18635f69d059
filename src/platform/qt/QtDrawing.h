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

class QtImage : public Image {
public:
    explicit QtImage(const QString& path);
    int width() const override { return image.width(); }
    int height() const override { return image.height(); }
    QImage image;  // null when the file was missing or unreadable
};

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
    // Draws text with the left end of its baseline at the given point, rounded to
    // whole pixels as the font system places glyphs.
    void drawAtBaseline(const QtFont& font, const std::u16string& text, Colour colour, float x,
                        float baselineY);
    QPainter painter;
};

class QtBackBuffer : public BackBuffer {
public:
    QtBackBuffer(int width, int height);
    int width() const override { return image.width(); }
    int height() const override { return image.height(); }
    void clear() override;
    std::unique_ptr<Graphics> beginDrawing() override;
    QImage image;
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
