// Fonts, pictures, drawing passes and the back buffer on canvases.
#include "platform/web/WebDrawing.h"

#include <cmath>

#include "platform/web/WebBridge.h"
#include "platform/web/WebTextMetrics.h"

namespace {
float pointsOf(const Font& font) {
    return font.sizeInPoints();
}

int lengthOf(const std::u16string& text) {
    return static_cast<int>(text.size());
}
}  // namespace

float textAdvance(const std::u16string& text, float points) {
    if (text.empty()) {
        return 0.0f;
    }
    return static_cast<float>(
        web_advance(WebTextMetrics::emPixels(points), text.data(), lengthOf(text)));
}

float WebFont::lineHeightAtDpi(float dotsPerInch) const {
    return points * dotsPerInch / 72.0f * WebTextMetrics::lineSpacingUnits /
           WebTextMetrics::unitsPerEm;
}

WebImage::WebImage(const std::string& path) {
    // Pictures are decoded by the browser once; the first load of a path waits for it.
    handle = web_cached_image(path.c_str());
    if (handle < 0) {
        handle = web_load_image(path.c_str());
    }
    pixelsWide = web_image_width(handle);
    pixelsHigh = web_image_height(handle);
}

WebGraphics::WebGraphics(int surface, int width, int height)
    : surface(surface), width(width), height(height) {
    web_begin(surface);
}

void WebGraphics::fillRectangle(Colour colour, const Rectangle& area) {
    web_fill_rect(surface, colour, area.x, area.y, area.width, area.height);
}

// Filled as the bands a mitred pen of that width paints, cut to the surface.
void WebGraphics::outlineRectangle(Colour colour, float penWidth, const Rectangle& area) {
    for (const Rectangle& band :
         outlineBands(area, penWidth, static_cast<float>(width), static_cast<float>(height))) {
        if (band.width > 0.0f && band.height > 0.0f) {
            fillRectangle(colour, band);
        }
    }
}

// Glyphs are placed on whole pixels, as the desktop's font system places them.
void WebGraphics::drawLine(const std::u16string& text, float points, Colour colour, float x,
                           float top) {
    if (text.empty()) {
        return;
    }
    const float baseline = top + WebTextMetrics::ascent(points);
    web_fill_text(surface, text.data(), lengthOf(text), WebTextMetrics::emPixels(points), colour,
                  std::round(x), std::round(baseline));
}

void WebGraphics::drawText(const std::u16string& text, const Font& font, Colour colour,
                           Point origin) {
    const float points = pointsOf(font);
    drawLine(text, points, colour, origin.x + WebTextMetrics::padding(points), origin.y);
}

void WebGraphics::drawTextInBox(const std::u16string& text, const Font& font, Colour colour,
                                const Rectangle& box, TextAlign align) {
    const float points = pointsOf(font);
    const int alignNumber = align == TextAlign::Far ? 2 : align == TextAlign::Centre ? 1 : 0;
    const float x = WebTextMetrics::lineStartX(points, textAdvance(text, points), box.x, box.width,
                                               alignNumber);
    drawLine(text, points, colour, x, box.y);
}

Rectangle WebGraphics::measureText(const std::u16string& text, const Font& font, Point origin) {
    const float points = pointsOf(font);
    return WebTextMetrics::measuredBox(points, textAdvance(text, points), origin);
}

void WebGraphics::drawImage(const Image& image, Point topLeft) {
    const float w = static_cast<float>(image.width());
    const float h = static_cast<float>(image.height());
    drawImagePart(image, {topLeft.x, topLeft.y, w, h}, {0.0f, 0.0f, w, h});
}

void WebGraphics::drawImagePart(const Image& image, const Rectangle& destination,
                                const Rectangle& source) {
    const auto& picture = static_cast<const WebImage&>(image);
    if (picture.handle == 0) {
        return;
    }
    web_draw_image(surface, picture.handle, destination.x, destination.y, destination.width,
                   destination.height, source.x, source.y, source.width, source.height);
}

WebBackBuffer::WebBackBuffer(int width, int height)
    : surface(web_make_surface(width, height)), pixelsWide(width), pixelsHigh(height) {
    clear();
}

void WebBackBuffer::clear() {
    web_clear(surface);
}

std::unique_ptr<Graphics> WebBackBuffer::beginDrawing() {
    return std::make_unique<WebGraphics>(surface, pixelsWide, pixelsHigh);
}

std::unique_ptr<Font> WebDrawingServices::makeFont(float sizeInPoints) {
    return std::make_unique<WebFont>(sizeInPoints);
}

std::unique_ptr<Image> WebDrawingServices::loadImage(const std::string& path) {
    return std::make_unique<WebImage>(path);
}

void WebDrawingServices::showHandCursor() {
    web_show_hand_cursor();
}
