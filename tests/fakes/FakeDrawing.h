// Test stand-ins for the drawing side of the platform layer: fonts with fixed, simple
// metrics, images of chosen sizes, and a back buffer whose drawing passes record every
// call so that tests can check what was drawn, where and in which colour.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Drawing.h"

// Metrics: the em is size x 96 / 72 pixels; every character advances 0.55 em; a
// measured box adds em / 6 of padding in all and is one line (1.15 em) high.
class FakeFont : public Font {
public:
    explicit FakeFont(float size) : size(size) {}
    float sizeInPoints() const override { return size; }
    float lineHeightAtDpi(float dotsPerInch) const override;
    float emPixels() const { return size * 96.0f / 72.0f; }
    float size;
};

class FakeImage : public Image {
public:
    FakeImage(std::string path, int width, int height)
        : path(std::move(path)), imageWidth(width), imageHeight(height) {}
    int width() const override { return imageWidth; }
    int height() const override { return imageHeight; }
    std::string path;
    int imageWidth;
    int imageHeight;
};

enum class DrawKind { FillRectangle, OutlineRectangle, Text, TextInBox, Image, ImagePart };

struct DrawCall {
    DrawKind kind = DrawKind::FillRectangle;
    Colour colour = 0;
    Rectangle area;  // rectangle, text box, or image destination
    Point origin;    // text origin or image top-left
    float penWidth = 0.0f;
    std::u16string text;
    float fontSize = 0.0f;
    TextAlign align = TextAlign::Near;
    std::string imagePath;
    Rectangle source;  // image source rectangle
};

// A UTF-8 copy of drawn text, for readable assertions.
std::string narrow(const std::u16string& text);

class RecordingGraphics : public Graphics {
public:
    explicit RecordingGraphics(std::vector<DrawCall>& log) : log(log) {}
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
    std::vector<DrawCall>& log;
};

// The measured box of text in a FakeFont, as RecordingGraphics reports it.
Rectangle fakeMeasure(const std::u16string& text, float fontSize, Point origin);

class FakeBackBuffer : public BackBuffer {
public:
    int width() const override { return 800; }
    int height() const override { return 600; }
    void clear() override;
    std::unique_ptr<Graphics> beginDrawing() override;

    std::vector<DrawCall> calls;  // every call of every pass since the last clear
    int clearCount = 0;
    int passCount = 0;
};

// Installs itself for its lifetime. Images get the size registered for their path,
// or 0 x 0 (a missing file).
class FakeDrawingServices : public DrawingServices {
public:
    FakeDrawingServices();
    ~FakeDrawingServices() override;
    std::unique_ptr<Font> makeFont(float sizeInPoints) override;
    std::unique_ptr<Image> loadImage(const std::string& path) override;
    void showHandCursor() override { ++handCursorCount; }

    std::map<std::string, std::pair<int, int>> imageSizes;
    std::vector<std::string> loadedPaths;
    int handCursorCount = 0;
};

// The sizes of the program's real pictures, for tests that press on them.
void registerProgramImageSizes(FakeDrawingServices& services);
