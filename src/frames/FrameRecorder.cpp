// Recording, comparing and replaying the drawing calls of a frame.
#include "frames/FrameRecorder.h"

#include <vector>

namespace {
// One drawing pass on a FrameRecorder. The panels open several passes a frame; the
// passes' memory is kept for the next ones, so that a frame allocates nothing.
class RecordingPass final : public Graphics {
public:
    explicit RecordingPass(FrameRecorder& recorder)
        : recorder(recorder), frame(recorder.recording()) {}

    static void* operator new(std::size_t size) {
        if (!spare().empty()) {
            void* block = spare().back();
            spare().pop_back();
            return block;
        }
        return ::operator new(size);
    }
    static void operator delete(void* block) { spare().push_back(block); }

    void fillRectangle(Colour colour, const Rectangle& area) override {
        frame.addFill(colour, area);
    }
    void outlineRectangle(Colour colour, float penWidth, const Rectangle& area) override {
        frame.addOutline(colour, penWidth, area);
    }
    void drawText(const std::u16string& text, const Font& font, Colour colour,
                  Point origin) override {
        frame.addText(text, font, colour, origin);
    }
    void drawTextInBox(const std::u16string& text, const Font& font, Colour colour,
                       const Rectangle& box, TextAlign align) override {
        frame.addTextInBox(text, font, colour, box, align);
    }
    Rectangle measureText(const std::u16string& text, const Font& font, Point origin) override {
        return recorder.measurer().measureText(text, font, origin);
    }
    void drawImage(const Image& image, Point topLeft) override { frame.addImage(image, topLeft); }
    void drawImagePart(const Image& image, const Rectangle& destination,
                       const Rectangle& source) override {
        frame.addImagePart(image, destination, source);
    }

private:
    // Blocks of passes that have ended, for the next passes. The program keeps a few
    // passes open at most, so the list stays short; it lives for the whole run.
    static std::vector<void*>& spare() {
        static auto* blocks = new std::vector<void*>();
        return *blocks;
    }
    FrameRecorder& recorder;
    RecordedFrame& frame;
};

bool sameRectangle(const Rectangle& a, const Rectangle& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
}  // namespace

bool RecordedFrame::Call::operator==(const Call& other) const {
    return kind == other.kind && align == other.align && colour == other.colour &&
           penWidth == other.penWidth && fontSize == other.fontSize &&
           sameRectangle(area, other.area) && sameRectangle(source, other.source) &&
           image == other.image && textLength == other.textLength;
}

void RecordedFrame::reset() {
    calls.clear();
    texts.clear();
}

RecordedFrame::Call& RecordedFrame::add(Kind kind, Colour colour) {
    Call& call = calls.emplace_back();
    call.kind = kind;
    call.colour = colour;
    return call;
}

void RecordedFrame::keepText(Call& call, const std::u16string& text, const Font& font) {
    call.fontSize = font.sizeInPoints();
    call.textStart = static_cast<std::uint32_t>(texts.size());
    call.textLength = static_cast<std::uint32_t>(text.size());
    texts.append(text);
}

void RecordedFrame::addClear() {
    add(Kind::Clear, 0);
}

void RecordedFrame::addFill(Colour colour, const Rectangle& area) {
    add(Kind::Fill, colour).area = area;
}

void RecordedFrame::addOutline(Colour colour, float penWidth, const Rectangle& area) {
    Call& call = add(Kind::Outline, colour);
    call.penWidth = penWidth;
    call.area = area;
}

void RecordedFrame::addText(const std::u16string& text, const Font& font, Colour colour,
                            Point origin) {
    Call& call = add(Kind::Text, colour);
    call.area = {origin.x, origin.y, 0.0f, 0.0f};
    keepText(call, text, font);
}

void RecordedFrame::addTextInBox(const std::u16string& text, const Font& font, Colour colour,
                                 const Rectangle& box, TextAlign align) {
    Call& call = add(Kind::TextInBox, colour);
    call.area = box;
    call.align = align;
    keepText(call, text, font);
}

void RecordedFrame::addImage(const Image& image, Point topLeft) {
    Call& call = add(Kind::Image, 0);
    call.image = &image;
    call.area = {topLeft.x, topLeft.y, 0.0f, 0.0f};
}

void RecordedFrame::addImagePart(const Image& image, const Rectangle& destination,
                                 const Rectangle& source) {
    Call& call = add(Kind::ImagePart, 0);
    call.image = &image;
    call.area = destination;
    call.source = source;
}

// The texts are compared as a whole: equal calls take the same lengths in the same
// order, so equal buffers mean equal strings call by call.
bool RecordedFrame::operator==(const RecordedFrame& other) const {
    return calls == other.calls && texts == other.texts;
}

const Font& RecordedFrame::fontOfSize(float size) const {
    for (const auto& [fontSize, font] : fonts) {
        if (fontSize == size) {
            return *font;
        }
    }
    return *fonts.emplace_back(size, makeFont(size)).second;
}

void RecordedFrame::replay(BackBuffer& target) const {
    std::unique_ptr<Graphics> pass;
    for (const Call& call : calls) {
        if (call.kind == Kind::Clear) {
            pass.reset();  // a clear is not drawn through a pass, so none may be open
            target.clear();
            continue;
        }
        if (!pass) {
            pass = target.beginDrawing();
        }
        const Point at{call.area.x, call.area.y};
        switch (call.kind) {
            case Kind::Fill:
                pass->fillRectangle(call.colour, call.area);
                break;
            case Kind::Outline:
                pass->outlineRectangle(call.colour, call.penWidth, call.area);
                break;
            case Kind::Text:
            case Kind::TextInBox:
                replayText.assign(texts, call.textStart, call.textLength);
                if (call.kind == Kind::Text) {
                    pass->drawText(replayText, fontOfSize(call.fontSize), call.colour, at);
                } else {
                    pass->drawTextInBox(replayText, fontOfSize(call.fontSize), call.colour,
                                        call.area, call.align);
                }
                break;
            case Kind::Image:
                pass->drawImage(*call.image, at);
                break;
            case Kind::ImagePart:
                pass->drawImagePart(*call.image, call.area, call.source);
                break;
            case Kind::Clear:
                break;
        }
    }
}

FrameRecorder::FrameRecorder(BackBuffer& target) : target(target) {}

FrameRecorder::~FrameRecorder() = default;

void FrameRecorder::clear() {
    current.addClear();
}

std::unique_ptr<Graphics> FrameRecorder::beginDrawing() {
    return std::make_unique<RecordingPass>(*this);
}

Graphics& FrameRecorder::measurer() {
    if (!measuring) {
        measuring = target.beginDrawing();
    }
    return *measuring;
}

void FrameRecorder::beginFrame() {
    current.reset();
}

bool FrameRecorder::changed() const {
    return !anyShown || !(current == shown);
}

void FrameRecorder::drawIntoTarget() {
    // The measuring pass is a pass on the real buffer, so it ends before the drawing
    // passes begin: two passes are never open on a buffer at once.
    measuring.reset();
    current.replay(target);
    std::swap(current, shown);
    anyShown = true;
}
