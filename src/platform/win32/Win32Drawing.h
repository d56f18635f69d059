// The Win32 implementation of the drawing side of the platform layer: GDI+ fonts (Arial
// in points), PNG images, drawing passes with GDI+ on the back buffer's memory device
// context, and the back buffer itself (a memory DC with a compatible bitmap, shown
// with one BitBlt).
//
// At 96 DPI one back-buffer pixel is one device pixel. On a scaled monitor the buffer
// holds as many device pixels as the scale asks for and every drawing pass is scaled
// to match, so the 800 x 600 picture stays sharp instead of being stretched.
#pragma once

#include "platform/win32/Win32Windows.h"

#include <functional>
#include <memory>
#include <string>

#include "platform/Drawing.h"

class Win32Font : public Font {
public:
    // Arial at sizeInPoints, regular; the generic sans-serif family when Arial is not
    // installed or cannot be made.
    explicit Win32Font(float sizeInPoints, const wchar_t* family = L"Arial");
    float sizeInPoints() const override { return points; }
    float lineHeightAtDpi(float dotsPerInch) const override;
    bool usable() const;
    // The font to draw with on a surface of the given resolution: the point-sized font
    // where points are taken at 96 DPI, else the same em measured in pixels, so the
    // layout never depends on the screen's logical resolution. Null when no font could
    // be made at all; such a font draws nothing and measures empty.
    const Gdiplus::Font* forSurface(float surfaceDpi) const;

    float points = 0.0f;
    std::unique_ptr<Gdiplus::Font> pointFont;
    std::unique_ptr<Gdiplus::Font> pixelFont;
};

class Win32Image : public Image {
public:
    // Loads path (relative to the working directory, '/' separated) and, when present,
    // the double-resolution picture of the same name under Resources/2x.
    explicit Win32Image(const std::string& path);
    int width() const override;
    int height() const override;
    std::unique_ptr<Gdiplus::Bitmap> bitmap;        // null when the file was missing or unreadable
    std::unique_ptr<Gdiplus::Bitmap> doubleBitmap;  // the 2x picture, or null
};

class Win32Graphics : public Graphics {
public:
    // A drawing pass on the device context, drawing back-buffer pixels at scale device
    // pixels each.
    Win32Graphics(HDC deviceContext, float scale);
    void fillRectangle(Colour colour, const Box& area) override;
    void outlineRectangle(Colour colour, float penWidth, const Box& area) override;
    void drawText(const std::u16string& text, const Font& font, Colour colour,
                  Point origin) override;
    void drawTextInBox(const std::u16string& text, const Font& font, Colour colour, const Box& box,
                       TextAlign align) override;
    Box measureText(const std::u16string& text, const Font& font, Point origin) override;
    void drawImage(const Image& image, Point topLeft) override;
    void drawImagePart(const Image& image, const Box& destination, const Box& source) override;

private:
    const Gdiplus::Font* gdiFont(const Font& font) const;
    Gdiplus::Graphics graphics;
    float scale = 1.0f;
    float surfaceDpi = 96.0f;
    int surfaceWidth = 0;  // in back-buffer pixels
    int surfaceHeight = 0;
};

class Win32BackBuffer : public BackBuffer {
public:
    // scale tells the current device pixels per buffer pixel; the bitmap follows it
    // when it changes (the window moved to a monitor with other scaling).
    Win32BackBuffer(HWND window, int width, int height, std::function<float()> scale);
    ~Win32BackBuffer() override;
    Win32BackBuffer(const Win32BackBuffer&) = delete;
    Win32BackBuffer& operator=(const Win32BackBuffer&) = delete;

    int width() const override { return bufferWidth; }
    int height() const override { return bufferHeight; }
    void clear() override;
    std::unique_ptr<Graphics> beginDrawing() override;

    // Copies the whole buffer to the device context in one BitBlt.
    void copyTo(HDC target) const;
    int pixelWidth() const { return bitmapWidth; }
    int pixelHeight() const { return bitmapHeight; }
    float pixelScale() const { return currentScale; }
    HDC deviceContext() const { return memoryDC; }

private:
    void makeBitmap(float scale);
    void releaseBitmap();

    HWND window = nullptr;
    HDC memoryDC = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    int bufferWidth = 0;
    int bufferHeight = 0;
    int bitmapWidth = 0;
    int bitmapHeight = 0;
    float currentScale = 1.0f;
    std::function<float()> scale;
};

class Win32DrawingServices : public DrawingServices {
public:
    std::unique_ptr<Font> makeFont(float sizeInPoints) override;
    std::unique_ptr<Image> loadImage(const std::string& path) override;
    void showHandCursor() override;
};

// GDI+'s ARGB colour from the program's.
Gdiplus::Color toGdiColor(Colour colour);

// Starts GDI+ for the life of the object.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool started() const { return status == Gdiplus::Ok; }

private:
    ULONG_PTR token = 0;
    Gdiplus::Status status = Gdiplus::GenericError;
};
