// The web implementation of the drawing side of the platform layer: fonts, pictures,
// drawing passes and the 800 x 600 back buffer, on off-screen HTML canvases drawn with
// the 2D context and scaled by the screen's device pixel ratio so text stays sharp.
#pragma once

#include <string>

#include "platform/Drawing.h"

class WebFont : public Font {
public:
    explicit WebFont(float sizeInPoints) : points(sizeInPoints) {}
    float sizeInPoints() const override { return points; }
    float lineHeightAtDpi(float dotsPerInch) const override;
    float points = 0.0f;
};

class WebImage : public Image {
public:
    explicit WebImage(const std::string& path);
    int width() const override { return pixelsWide; }
    int height() const override { return pixelsHigh; }
    int handle = 0;  // 0 for a missing or unreadable picture
    int pixelsWide = 0;
    int pixelsHigh = 0;
};

class WebGraphics : public Graphics {
public:
    WebGraphics(int surface, int width, int height);
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
    void drawLine(const std::u16string& text, float points, Colour colour, float x, float top);
    int surface;
    int width;
    int height;
};

class WebBackBuffer : public BackBuffer {
public:
    WebBackBuffer(int width, int height);
    int width() const override { return pixelsWide; }
    int height() const override { return pixelsHigh; }
    void clear() override;
    std::unique_ptr<Graphics> beginDrawing() override;
    int surface = 0;

private:
    int pixelsWide;
    int pixelsHigh;
};

class WebDrawingServices : public DrawingServices {
public:
    std::unique_ptr<Font> makeFont(float sizeInPoints) override;
    std::unique_ptr<Image> loadImage(const std::string& path) override;
    void showHandCursor() override;
};

// The advance of a line of text in the page's font, in CSS pixels.
float textAdvance(const std::u16string& text, float points);
