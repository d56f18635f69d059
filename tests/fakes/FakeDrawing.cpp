// Recording implementations of the drawing interfaces.
#include "fakes/FakeDrawing.h"

#include <utility>

namespace {
constexpr float advancePerEm = 0.55f;
constexpr float lineSpacingPerEm = 1.15f;

const FakeFont& asFake(const Font& font) {
    return static_cast<const FakeFont&>(font);
}
const FakeImage& asFake(const Image& image) {
    return static_cast<const FakeImage&>(image);
}
}  // namespace

float FakeFont::lineHeightAtDpi(float dotsPerInch) const {
    return size * dotsPerInch / 72.0f * lineSpacingPerEm;
}

std::string narrow(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) {
        if (unit < 0x80) {
            out += static_cast<char>(unit);
        } else if (unit < 0x800) {
            out += static_cast<char>(0xC0 | (unit >> 6));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (unit >> 12));
            out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return out;
}

Rectangle fakeMeasure(const std::u16string& text, float fontSize, Point origin) {
    const float em = fontSize * 96.0f / 72.0f;
    const float width = static_cast<float>(text.size()) * advancePerEm * em + em / 6.0f;
    return {origin.x, origin.y, width, em * lineSpacingPerEm};
}

void RecordingGraphics::fillRectangle(Colour colour, const Rectangle& area) {
    DrawCall call;
    call.kind = DrawKind::FillRectangle;
    call.colour = colour;
    call.area = area;
    log.push_back(call);
}

void RecordingGraphics::outlineRectangle(Colour colour, float penWidth, const Rectangle& area) {
    DrawCall call;
    call.kind = DrawKind::OutlineRectangle;
    call.colour = colour;
    call.penWidth = penWidth;
    call.area = area;
    log.push_back(call);
}

void RecordingGraphics::drawText(const std::u16string& text, const Font& font, Colour colour,
                                 Point origin) {
    DrawCall call;
    call.kind = DrawKind::Text;
    call.colour = colour;
    call.origin = origin;
    call.text = text;
    call.fontSize = asFake(font).size;
    call.area = fakeMeasure(text, call.fontSize, origin);
    log.push_back(call);
}

void RecordingGraphics::drawTextInBox(const std::u16string& text, const Font& font, Colour colour,
                                      const Rectangle& box, TextAlign align) {
    DrawCall call;
    call.kind = DrawKind::TextInBox;
    call.colour = colour;
    call.area = box;
    call.origin = {box.x, box.y};
    call.text = text;
    call.fontSize = asFake(font).size;
    call.align = align;
    log.push_back(call);
}

Rectangle RecordingGraphics::measureText(const std::u16string& text, const Font& font,
                                         Point origin) {
    return fakeMeasure(text, asFake(font).size, origin);
}

void RecordingGraphics::drawImage(const Image& image, Point topLeft) {
    DrawCall call;
    call.kind = DrawKind::Image;
    call.origin = topLeft;
    call.imagePath = asFake(image).path;
    call.area = {topLeft.x, topLeft.y, static_cast<float>(image.width()),
                 static_cast<float>(image.height())};
    log.push_back(call);
}

void RecordingGraphics::drawImagePart(const Image& image, const Rectangle& destination,
                                      const Rectangle& source) {
    DrawCall call;
    call.kind = DrawKind::ImagePart;
    call.origin = {destination.x, destination.y};
    call.area = destination;
    call.source = source;
    call.imagePath = asFake(image).path;
    log.push_back(call);
}

void FakeBackBuffer::clear() {
    calls.clear();
    ++clearCount;
}

std::unique_ptr<Graphics> FakeBackBuffer::beginDrawing() {
    ++passCount;
    return std::make_unique<RecordingGraphics>(calls);
}

FakeDrawingServices::FakeDrawingServices() {
    installDrawingServices(this);
}

FakeDrawingServices::~FakeDrawingServices() {
    installDrawingServices(nullptr);
}

std::unique_ptr<Font> FakeDrawingServices::makeFont(float sizeInPoints) {
    return std::make_unique<FakeFont>(sizeInPoints);
}

std::unique_ptr<Image> FakeDrawingServices::loadImage(const std::string& path) {
    loadedPaths.push_back(path);
    const auto found = imageSizes.find(path);
    if (found == imageSizes.end()) {
        return std::make_unique<FakeImage>(path, 0, 0);
    }
    return std::make_unique<FakeImage>(path, found->second.first, found->second.second);
}

void registerProgramImageSizes(FakeDrawingServices& services) {
    services.imageSizes["Resources/Quillmoor_200.png"] = {200, 80};
    services.imageSizes["Resources/Mox_73.png"] = {73, 73};
    services.imageSizes["Resources/balloon.png"] = {315, 75};
    services.imageSizes["Resources/Repeat icon_25.png"] = {25, 25};
    services.imageSizes["Resources/Delete icon_25.png"] = {25, 25};
    services.imageSizes["Resources/Up icon_40.png"] = {40, 40};
    for (const char* name : {"btnNewQuestion", "btnCreateQuestion", "btnRestartQuestion",
                             "btnSettings", "btnHelp", "btnExit"}) {
        services.imageSizes[std::string("Resources/") + name + ".png"] = {225, 75};
    }
}
