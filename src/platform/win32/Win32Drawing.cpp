// Fonts, images, drawing passes and the back buffer on GDI and GDI+.
#include "platform/win32/Win32Drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/desktop/NativeFile.h"
#include "platform/win32/Win32Text.h"

namespace {
constexpr float pixelsPerPoint = 96.0f / 72.0f;
// Beyond this GDI+ may refuse a shape outright; the working-out's outline can be far
// taller than that while only a few hundred pixels of it show.
constexpr float largestPlainCoordinate = 30000.0f;
// How far outside the surface an edge that does not show is put instead.
constexpr float offSurfaceMargin = 100.0f;

const Win32Image& asWin32(const Image& image) {
    return static_cast<const Win32Image&>(image);
}

Gdiplus::RectF toRectF(const Box& area) {
    return {area.x, area.y, area.width, area.height};
}

// Makes a font of family at size, or null when the family or the font cannot be made.
std::unique_ptr<Gdiplus::Font> tryFont(const Gdiplus::FontFamily& family, float size,
                                       Gdiplus::Unit unit) {
    if (family.GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    auto font = std::make_unique<Gdiplus::Font>(&family, size, Gdiplus::FontStyleRegular, unit);
    return font->GetLastStatus() == Gdiplus::Ok ? std::move(font) : nullptr;
}

// Arial if it can be made, else the generic sans-serif family.
std::unique_ptr<Gdiplus::Font> makeGdiFont(const wchar_t* familyName, float size,
                                           Gdiplus::Unit unit) {
    const Gdiplus::FontFamily family(familyName);
    if (auto font = tryFont(family, size, unit)) {
        return font;
    }
    const Gdiplus::FontFamily* sansSerif = Gdiplus::FontFamily::GenericSansSerif();
    return sansSerif != nullptr ? tryFont(*sansSerif, size, unit) : nullptr;
}

// The picture in the regular file at path. The file is read without waiting (a FIFO or
// a device under a picture's name gives no picture instead of holding up the start) and
// decoded from memory; the copy made of it owns its pixels, so the bytes can go.
std::unique_ptr<Gdiplus::Bitmap> loadBitmap(const std::filesystem::path& path) {
    const std::optional<std::string> bytes = readRegularFile(path, largestPictureFile);
    if (!bytes || bytes->empty()) {
        return nullptr;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes->size());
    if (memory == nullptr) {
        return nullptr;
    }
    if (void* into = GlobalLock(memory)) {
        std::memcpy(into, bytes->data(), bytes->size());
        GlobalUnlock(memory);
    }
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
        GlobalFree(memory);
        return nullptr;
    }
    std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    if (decoded && decoded->GetLastStatus() == Gdiplus::Ok && decoded->GetWidth() != 0) {
        bitmap.reset(decoded->Clone(0, 0, static_cast<INT>(decoded->GetWidth()),
                                    static_cast<INT>(decoded->GetHeight()), PixelFormat32bppARGB));
    }
    decoded.reset();
    stream->Release();
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    return bitmap;
}

// Resources/x.png has its double-resolution picture at Resources/2x/x.png.
std::filesystem::path doubleResolutionPath(const std::filesystem::path& path) {
    return path.parent_path() / L"2x" / path.filename();
}

bool withinPlainRange(const Box& area, float margin) {
    return std::fabs(area.x) + margin < largestPlainCoordinate &&
           std::fabs(area.y) + margin < largestPlainCoordinate &&
           std::fabs(area.x + area.width) + margin < largestPlainCoordinate &&
           std::fabs(area.y + area.height) + margin < largestPlainCoordinate;
}

Gdiplus::StringAlignment toGdiAlignment(TextAlign align) {
    switch (align) {
        case TextAlign::Centre:
            return Gdiplus::StringAlignmentCenter;
        case TextAlign::Far:
            return Gdiplus::StringAlignmentFar;
        case TextAlign::Near:
            break;
    }
    return Gdiplus::StringAlignmentNear;
}
}  // namespace

Gdiplus::Color toGdiColor(Colour colour) {
    return Gdiplus::Color(static_cast<Gdiplus::ARGB>(colour));
}

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;  // version 1, nothing suppressed
    status = Gdiplus::GdiplusStartup(&token, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
    if (status == Gdiplus::Ok) {
        Gdiplus::GdiplusShutdown(token);
    }
}

Win32Font::Win32Font(float sizeInPoints, const wchar_t* family)
    : points(sizeInPoints),
      pointFont(makeGdiFont(family, sizeInPoints, Gdiplus::UnitPoint)),
      pixelFont(makeGdiFont(family, sizeInPoints * pixelsPerPoint, Gdiplus::UnitWorld)) {}

bool Win32Font::usable() const {
    return pointFont != nullptr && pixelFont != nullptr;
}

float Win32Font::lineHeightAtDpi(float dotsPerInch) const {
    return pointFont ? pointFont->GetHeight(dotsPerInch) : 0.0f;
}

const Gdiplus::Font* Win32Font::forSurface(float surfaceDpi) const {
    return surfaceDpi == 96.0f ? pointFont.get() : pixelFont.get();
}

Win32Image::Win32Image(const std::string& path) {
    const std::filesystem::path file(toWindowsPath(path));
    bitmap = loadBitmap(file);
    if (bitmap) {
        doubleBitmap = loadBitmap(doubleResolutionPath(file));
        // A 2x picture of any other size would not fill the same box; it is ignored.
        if (doubleBitmap && (doubleBitmap->GetWidth() != 2 * bitmap->GetWidth() ||
                             doubleBitmap->GetHeight() != 2 * bitmap->GetHeight())) {
            doubleBitmap.reset();
        }
    }
}

int Win32Image::width() const {
    return bitmap ? static_cast<int>(bitmap->GetWidth()) : 0;
}

int Win32Image::height() const {
    return bitmap ? static_cast<int>(bitmap->GetHeight()) : 0;
}

Win32Graphics::Win32Graphics(HDC deviceContext, float scale)
    : graphics(deviceContext), scale(scale), surfaceDpi(graphics.GetDpiY()) {
    if (HGDIOBJ surface = GetCurrentObject(deviceContext, OBJ_BITMAP)) {
        BITMAP info{};
        if (GetObjectW(surface, sizeof info, &info) != 0) {
            surfaceWidth = static_cast<int>(std::ceil(static_cast<float>(info.bmWidth) / scale));
            surfaceHeight = static_cast<int>(std::ceil(static_cast<float>(info.bmHeight) / scale));
        }
    }
    if (scale != 1.0f) {
        graphics.ScaleTransform(scale, scale);
    }
}

const Gdiplus::Font* Win32Graphics::gdiFont(const Font& font) const {
    return static_cast<const Win32Font&>(font).forSurface(surfaceDpi);
}

void Win32Graphics::fillRectangle(Colour colour, const Box& area) {
    const Gdiplus::SolidBrush brush(toGdiColor(colour));
    graphics.FillRectangle(&brush, toRectF(area));
}

// A pen centred on the edges, as GDI+ draws it. GDI+ refuses shapes with coordinates
// far beyond the surface, so an edge far outside is moved to just outside: what shows
// is the same, drawn by the same pen.
void Win32Graphics::outlineRectangle(Colour colour, float penWidth, const Box& area) {
    const Gdiplus::Pen pen(toGdiColor(colour), penWidth);
    if (withinPlainRange(area, penWidth)) {
        graphics.DrawRectangle(&pen, toRectF(area));
        return;
    }
    const float outside = penWidth + offSurfaceMargin;
    const float left = std::clamp(area.x, -outside, static_cast<float>(surfaceWidth) + outside);
    const float top = std::clamp(area.y, -outside, static_cast<float>(surfaceHeight) + outside);
    const float right =
        std::clamp(area.x + area.width, -outside, static_cast<float>(surfaceWidth) + outside);
    const float bottom =
        std::clamp(area.y + area.height, -outside, static_cast<float>(surfaceHeight) + outside);
    graphics.DrawRectangle(&pen, Gdiplus::RectF(left, top, right - left, bottom - top));
}

void Win32Graphics::drawText(const std::u16string& text, const Font& font, Colour colour,
                             Point origin) {
    const Gdiplus::Font* gdi = gdiFont(font);
    if (gdi == nullptr) {
        return;
    }
    const std::wstring wide = toWide(text);
    const Gdiplus::SolidBrush brush(toGdiColor(colour));
    graphics.DrawString(wide.c_str(), static_cast<INT>(wide.size()), gdi,
                        Gdiplus::PointF(origin.x, origin.y), &brush);
}

void Win32Graphics::drawTextInBox(const std::u16string& text, const Font& font, Colour colour,
                                  const Box& box, TextAlign align) {
    const Gdiplus::Font* gdi = gdiFont(font);
    if (gdi == nullptr) {
        return;
    }
    const std::wstring wide = toWide(text);
    const Gdiplus::SolidBrush brush(toGdiColor(colour));
    Gdiplus::StringFormat format;
    format.SetAlignment(toGdiAlignment(align));
    graphics.DrawString(wide.c_str(), static_cast<INT>(wide.size()), gdi, toRectF(box), &format,
                        &brush);
}

Box Win32Graphics::measureText(const std::u16string& text, const Font& font, Point origin) {
    const Gdiplus::Font* gdi = gdiFont(font);
    Gdiplus::RectF box(origin.x, origin.y, 0.0f, 0.0f);
    if (gdi == nullptr) {
        return {box.X, box.Y, 0.0f, 0.0f};
    }
    const std::wstring wide = toWide(text);
    graphics.MeasureString(wide.c_str(), static_cast<INT>(wide.size()), gdi,
                           Gdiplus::PointF(origin.x, origin.y), &box);
    return {box.X, box.Y, box.Width, box.Height};
}

// Pictures are placed by their pixel size, whatever resolution their files declare;
// on a scaled surface the double-resolution picture fills the same box.
void Win32Graphics::drawImage(const Image& image, Point topLeft) {
    const Win32Image& picture = asWin32(image);
    if (!picture.bitmap) {
        return;
    }
    const Box whole{0.0f, 0.0f, static_cast<float>(picture.width()),
                    static_cast<float>(picture.height())};
    drawImagePart(image, {topLeft.x, topLeft.y, whole.width, whole.height}, whole);
}

void Win32Graphics::drawImagePart(const Image& image, const Box& destination, const Box& source) {
    const Win32Image& picture = asWin32(image);
    if (!picture.bitmap) {
        return;
    }
    Gdiplus::Bitmap* drawn = picture.bitmap.get();
    float sourceScale = 1.0f;
    if (scale > 1.0f && picture.doubleBitmap) {
        drawn = picture.doubleBitmap.get();
        sourceScale = static_cast<float>(drawn->GetWidth()) / static_cast<float>(picture.width());
    }
    graphics.DrawImage(drawn, toRectF(destination), source.x * sourceScale, source.y * sourceScale,
                       source.width * sourceScale, source.height * sourceScale, Gdiplus::UnitPixel);
}

Win32BackBuffer::Win32BackBuffer(HWND window, int width, int height, std::function<float()> scale)
    : window(window), bufferWidth(width), bufferHeight(height), scale(std::move(scale)) {
    HDC windowDC = GetDC(window);
    memoryDC = CreateCompatibleDC(windowDC);
    ReleaseDC(window, windowDC);
    makeBitmap(this->scale ? this->scale() : 1.0f);
    clear();
}

Win32BackBuffer::~Win32BackBuffer() {
    releaseBitmap();
    DeleteDC(memoryDC);
}

void Win32BackBuffer::makeBitmap(float newScale) {
    currentScale = newScale > 0.0f ? newScale : 1.0f;
    bitmapWidth = static_cast<int>(std::lround(static_cast<float>(bufferWidth) * currentScale));
    bitmapHeight = static_cast<int>(std::lround(static_cast<float>(bufferHeight) * currentScale));
    HDC windowDC = GetDC(window);
    bitmap = CreateCompatibleBitmap(windowDC, bitmapWidth, bitmapHeight);
    ReleaseDC(window, windowDC);
    previousBitmap = SelectObject(memoryDC, bitmap);
}

void Win32BackBuffer::releaseBitmap() {
    if (bitmap != nullptr) {
        SelectObject(memoryDC, previousBitmap);
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

// White inside, and the device context's default black pen drawing a 1-pixel outline
// along the edges.
void Win32BackBuffer::clear() {
    const float wanted = scale ? scale() : 1.0f;
    if (wanted != currentScale) {
        releaseBitmap();
        makeBitmap(wanted);
    }
    HGDIOBJ previousBrush = SelectObject(memoryDC, GetStockObject(WHITE_BRUSH));
    ::Rectangle(memoryDC, 0, 0, bitmapWidth, bitmapHeight);
    SelectObject(memoryDC, previousBrush);
}

std::unique_ptr<Graphics> Win32BackBuffer::beginDrawing() {
    return std::make_unique<Win32Graphics>(memoryDC, currentScale);
}

void Win32BackBuffer::copyTo(HDC target) const {
    BitBlt(target, 0, 0, bitmapWidth, bitmapHeight, memoryDC, 0, 0, SRCCOPY);
}

std::unique_ptr<Font> Win32DrawingServices::makeFont(float sizeInPoints) {
    auto font = std::make_unique<Win32Font>(sizeInPoints);
    if (!font->usable()) {
        font = std::make_unique<Win32Font>(sizeInPoints, L"Microsoft Sans Serif");
    }
    return font;
}

std::unique_ptr<Image> Win32DrawingServices::loadImage(const std::string& path) {
    return std::make_unique<Win32Image>(path);
}

void Win32DrawingServices::showHandCursor() {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
}
