// Keeps a frame as the list of its drawing calls, so that the frame loop can tell
// whether a new frame would show anything other than what the window already shows,
// and draw and present it only then. A frame is about a hundred calls: recording and
// comparing them costs far less than painting and copying 800 x 600 pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Drawing.h"

// The drawing calls of one frame in order, with their arguments. Text is kept in one
// shared buffer and the call vectors keep their capacity, so recording a frame like
// the last one allocates nothing.
class RecordedFrame {
public:
    void reset();
    std::size_t callCount() const { return calls.size(); }

    void addClear();
    void addFill(Colour colour, const Rectangle& area);
    void addOutline(Colour colour, float penWidth, const Rectangle& area);
    void addText(const std::u16string& text, const Font& font, Colour colour, Point origin);
    void addTextInBox(const std::u16string& text, const Font& font, Colour colour,
                      const Rectangle& box, TextAlign align);
    void addImage(const Image& image, Point topLeft);
    void addImagePart(const Image& image, const Rectangle& destination, const Rectangle& source);

    // The same calls with the same arguments in the same order. Fonts are the same
    // when their sizes are (every font is made by makeFont from a size); pictures
    // are the same object, which the program loads once and never changes.
    bool operator==(const RecordedFrame& other) const;

    // Draws the calls into target: a clear where one was recorded, everything else in
    // one drawing pass at a time. Text is drawn in fonts of the recorded sizes.
    void replay(BackBuffer& target) const;

private:
    enum class Kind : std::uint8_t { Clear, Fill, Outline, Text, TextInBox, Image, ImagePart };
    struct Call {
        Kind kind = Kind::Clear;
        TextAlign align = TextAlign::Near;
        Colour colour = 0;
        float penWidth = 0.0f;  // outlines
        float fontSize = 0.0f;  // text, in points
        Rectangle area;         // rectangle, text box or origin, image destination
        Rectangle source;       // image part
        const Image* image = nullptr;
        std::uint32_t textStart = 0;
        std::uint32_t textLength = 0;
        bool operator==(const Call& other) const;
    };
    Call& add(Kind kind, Colour colour);
    void keepText(Call& call, const std::u16string& text, const Font& font);
    const Font& fontOfSize(float size) const;

    std::vector<Call> calls;
    std::u16string texts;  // every call's text, one after the other
    // Fonts for replaying text, one per size, made on first use and kept.
    mutable std::vector<std::pair<float, std::unique_ptr<Font>>> fonts;
    mutable std::u16string replayText;  // reused for each replayed string
};

// A back buffer that records what is drawn on it instead of drawing. Text is still
// measured by the real buffer, since the layout of what follows depends on it.
class FrameRecorder : public BackBuffer {
public:
    explicit FrameRecorder(BackBuffer& target);
    ~FrameRecorder() override;
    FrameRecorder(const FrameRecorder&) = delete;
    FrameRecorder& operator=(const FrameRecorder&) = delete;

    int width() const override { return target.width(); }
    int height() const override { return target.height(); }
    int originX() const override { return target.originX(); }
    int originY() const override { return target.originY(); }
    void clear() override;
    std::unique_ptr<Graphics> beginDrawing() override;

    // Starts a new frame's recording.
    void beginFrame();
    // True when the frame recorded since beginFrame differs from the last one drawn
    // into the real buffer, or nothing has been drawn there yet.
    bool changed() const;
    // Draws the recorded frame into the real buffer and keeps it as the one shown.
    void drawIntoTarget();

    // Where the recording passes send measurements: a pass on the real buffer that
    // only measures, opened on first use and kept until the real buffer is drawn.
    Graphics& measurer();
    RecordedFrame& recording() { return current; }

private:
    BackBuffer& target;
    std::unique_ptr<Graphics> measuring;
    RecordedFrame current;
    RecordedFrame shown;
    bool anyShown = false;
};
