// The drawing side of the platform layer: fonts, images, one drawing pass on the back
// buffer, and the services that make fonts and images. Everything above src/platform/
// draws through these types only; each backend implements them.
#pragma once

#include <memory>
#include <string>

#include "platform/Geometry.h"

// A font made by makeFont(). Sizes are in points at 96 dots per inch, so a 30-point
// font is 40 pixels high in the em whatever the screen says.
class Font {
public:
    virtual ~Font() = default;
    virtual float sizeInPoints() const = 0;
    // The distance between two lines of this font when rendered at the given
    // resolution, in pixels (GDI+'s font height for that DPI).
    virtual float lineHeightAtDpi(float dotsPerInch) const = 0;
};

// A picture loaded from a PNG file. A file that is missing or unreadable still gives
// an Image: it is 0 x 0 and drawing it shows nothing.
class Image {
public:
    virtual ~Image() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

enum class TextAlign { Near, Centre, Far };

// One drawing pass on the back buffer, made for the length of one draw call. No state
// (transform, clip) is carried from one pass to the next.
class Graphics {
public:
    virtual ~Graphics() = default;

    virtual void fillRectangle(Colour colour, const Rectangle& area) = 0;
    // The pen is centred on the rectangle's edges, so half its width falls outside.
    virtual void outlineRectangle(Colour colour, float penWidth, const Rectangle& area) = 0;

    // Text whose layout box has its top-left corner at origin.
    virtual void drawText(const std::u16string& text, const Font& font, Colour colour,
                          Point origin) = 0;
    // Text laid out inside box: horizontally by align, vertically from the box's top.
    virtual void drawTextInBox(const std::u16string& text, const Font& font, Colour colour,
                               const Rectangle& box, TextAlign align) = 0;
    // The bounding box of text laid out at origin with no layout size and the default
    // format, including the small padding GDI+ adds on either side.
    virtual Rectangle measureText(const std::u16string& text, const Font& font, Point origin) = 0;

    // The whole image at its own size.
    virtual void drawImage(const Image& image, Point topLeft) = 0;
    // The part of the image given by source (pixels) stretched into destination.
    virtual void drawImagePart(const Image& image, const Rectangle& destination,
                               const Rectangle& source) = 0;
};

// The off-screen surface every frame is drawn into before it is shown in one copy.
class BackBuffer {
public:
    virtual ~BackBuffer() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Where the buffer sits in the window's client area; always (0, 0).
    virtual int originX() const { return 0; }
    virtual int originY() const { return 0; }
    // White inside with a 1-pixel black outline along all four edges.
    virtual void clear() = 0;
    virtual std::unique_ptr<Graphics> beginDrawing() = 0;
};

// What the backend supplies to code that makes its own fonts and images, and the one
// cursor change made from inside a widget.
class DrawingServices {
public:
    virtual ~DrawingServices() = default;
    // Arial, regular; falls back to the generic sans-serif family when Arial is missing.
    virtual std::unique_ptr<Font> makeFont(float sizeInPoints) = 0;
    virtual std::unique_ptr<Image> loadImage(const std::string& path) = 0;
    virtual void showHandCursor() = 0;
};

// The backend (or a test) installs its services before any panel is made. The
// pointer is not owned.
void installDrawingServices(DrawingServices* services);
DrawingServices& drawingServices();

std::unique_ptr<Font> makeFont(float sizeInPoints);
std::unique_ptr<Image> loadImage(const std::string& path);
