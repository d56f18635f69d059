// The frame recording: a recorded frame replays into a buffer exactly as drawing there
// directly would; two recordings are equal exactly when their calls and arguments
// are; text is measured by the real buffer; and recording a frame like the last one
// allocates nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "fakes/FakeDrawing.h"
#include "frames/FrameRecorder.h"

namespace {
bool countingAllocations = false;
long allocations = 0;
}  // namespace

// Every allocation of this test program goes through here, so that a test can count
// the ones a piece of code makes.
void* operator new(std::size_t size) {
    if (countingAllocations) {
        ++allocations;
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}
// Kept out of line: inlined into callers, the compiler would take the pairing of
// operator new with free for a mistake.
__attribute__((noinline)) void operator delete(void* block) noexcept {
    std::free(block);
}
__attribute__((noinline)) void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

// One drawing call with every argument any call takes; a frame is a list of them, and
// a pass break ends the drawing pass that is open.
enum class Step { Clear, PassBreak, Fill, Outline, Text, TextInBox, Image, ImagePart };
struct Operation {
    Step step = Step::Fill;
    Colour colour = 0xFF000000;
    Rectangle area{1, 2, 3, 4};
    Rectangle source{0, 0, 5, 5};
    float penWidth = 1.0f;
    std::u16string text = u"12";
    int font = 0;   // index into the fonts
    int image = 0;  // index into the images
    TextAlign align = TextAlign::Near;
};
using Frame = std::vector<Operation>;

struct Materials {
    FakeFont fonts[2]{FakeFont(30.0f), FakeFont(20.0f)};
    FakeImage images[2]{FakeImage("logo", 200, 80), FakeImage("balloon", 315, 75)};
};

void draw(const Operation& op, Graphics& graphics, const Materials& materials) {
    const Font& font = materials.fonts[op.font];
    const Image& image = materials.images[op.image];
    switch (op.step) {
        case Step::Fill:
            graphics.fillRectangle(op.colour, op.area);
            break;
        case Step::Outline:
            graphics.outlineRectangle(op.colour, op.penWidth, op.area);
            break;
        case Step::Text:
            graphics.drawText(op.text, font, op.colour, {op.area.x, op.area.y});
            break;
        case Step::TextInBox:
            graphics.drawTextInBox(op.text, font, op.colour, op.area, op.align);
            break;
        case Step::Image:
            graphics.drawImage(image, {op.area.x, op.area.y});
            break;
        case Step::ImagePart:
            graphics.drawImagePart(image, op.area, op.source);
            break;
        case Step::Clear:
        case Step::PassBreak:
            break;
    }
}

// Draws a frame the way the panels do: clears, then passes opened and closed in turn.
void drawFrame(const Frame& frame, BackBuffer& buffer, const Materials& materials) {
    std::unique_ptr<Graphics> pass;
    for (const Operation& op : frame) {
        if (op.step == Step::Clear || op.step == Step::PassBreak) {
            pass.reset();
            if (op.step == Step::Clear) {
                buffer.clear();
            }
            continue;
        }
        if (!pass) {
            pass = buffer.beginDrawing();
        }
        draw(op, *pass, materials);
    }
}

Frame randomFrame(std::mt19937& random) {
    std::uniform_int_distribution<int> stepOf(1, 7);
    std::uniform_real_distribution<float> coordinate(-50.0f, 850.0f);
    Frame frame{Operation{Step::Clear}};
    const int length = std::uniform_int_distribution<int>(0, 60)(random);
    for (int i = 0; i < length; ++i) {
        Operation op;
        op.step = static_cast<Step>(stepOf(random));
        op.colour = 0xFF000000u | (random() & 0xFFFFFFu);
        op.area = {coordinate(random), coordinate(random), coordinate(random) / 4,
                   coordinate(random) / 4};
        op.source = {0, 0, 63.0f * static_cast<float>(random() % 5), 75};
        op.penWidth = static_cast<float>(random() % 6);
        op.text = std::u16string(random() % 12, u'0') + static_cast<char16_t>(u'a' + random() % 26);
        op.font = static_cast<int>(random() % 2);
        op.image = static_cast<int>(random() % 2);
        op.align = static_cast<TextAlign>(random() % 3);
        frame.push_back(op);
    }
    return frame;
}

void expectSameCalls(const std::vector<DrawCall>& replayed, const std::vector<DrawCall>& direct) {
    ASSERT_EQ(replayed.size(), direct.size());
    for (std::size_t i = 0; i < direct.size(); ++i) {
        SCOPED_TRACE("call " + std::to_string(i));
        const DrawCall& a = replayed[i];
        const DrawCall& b = direct[i];
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.colour, b.colour);
        EXPECT_EQ(a.area.x, b.area.x);
        EXPECT_EQ(a.area.y, b.area.y);
        EXPECT_EQ(a.area.width, b.area.width);
        EXPECT_EQ(a.area.height, b.area.height);
        EXPECT_EQ(a.origin.x, b.origin.x);
        EXPECT_EQ(a.origin.y, b.origin.y);
        EXPECT_EQ(a.penWidth, b.penWidth);
        EXPECT_EQ(a.text, b.text);
        EXPECT_EQ(a.fontSize, b.fontSize);
        EXPECT_EQ(a.align, b.align);
        EXPECT_EQ(a.imagePath, b.imagePath);
        EXPECT_EQ(a.source.width, b.source.width);
    }
}

class FrameRecorderTest : public ::testing::Test {
public:
    // Records frame as the frame loop does; true when it differed from the last shown.
    bool record(const Frame& frame) {
        recorder.beginFrame();
        drawFrame(frame, recorder, materials);
        const bool changed = recorder.changed();
        if (changed) {
            recorder.drawIntoTarget();
        }
        return changed;
    }

    FakeDrawingServices services;  // replayed text is drawn in fonts made by size
    Materials materials;
    FakeBackBuffer target;
    FrameRecorder recorder{target};
};

TEST_F(FrameRecorderTest, RandomFramesReplayExactlyAsDrawnDirectly) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Frame frame = randomFrame(random);
        FakeBackBuffer direct;
        drawFrame(frame, direct, materials);
        // Drawn into the target, or skipped as the frame the target already holds.
        record(frame);
        expectSameCalls(target.calls, direct.calls);
    }
    EXPECT_GT(target.clearCount, 150);
}

TEST_F(FrameRecorderTest, NothingReachesTheBufferUntilTheFrameIsDrawnIntoIt) {
    const Frame frame = {{Step::Clear}, {Step::Fill}, {Step::Text}};
    recorder.beginFrame();
    drawFrame(frame, recorder, materials);
    EXPECT_TRUE(target.calls.empty());
    EXPECT_EQ(target.clearCount, 0);
    recorder.drawIntoTarget();
    EXPECT_EQ(target.clearCount, 1);
    EXPECT_EQ(target.calls.size(), 2u);
}

// Each mutation changes one argument of one call, or the calls themselves; every one
// must make the frame differ, and undoing it must make it the same again.
TEST_F(FrameRecorderTest, AFrameDiffersExactlyWhenACallOrAnArgumentDoes) {
    const Frame base = {
        {Step::Clear},
        {Step::Fill, 0xFFEEE2B7, {0, 0, 480, 574}},
        {Step::Outline, 0xFF323232, {0, -20, 480, 900}, {}, 5.0f},
        {Step::Text, 0xFF1E1E1E, {20, 40, 0, 0}, {}, 1.0f, u"1 lot of 6"},
        {Step::PassBreak},
        {Step::TextInBox, 0xFF963296, {200, 80, 90, 40}, {}, 1.0f, u"150", 0, 0, TextAlign::Far},
        {Step::Image, 0, {500, 490, 0, 0}},
        {Step::ImagePart, 0, {721, 465, 63, 75}, {252, 0, 63, 75}, 1.0f, u"", 0, 1},
    };
    struct Mutation {
        const char* what;
        std::function<void(Frame&)> apply;
    };
    const Mutation mutations[] = {
        {"fill colour", [](Frame& f) { f[1].colour = 0xFFEEE2B8; }},
        {"fill width by a fraction", [](Frame& f) { f[1].area.width = 480.25f; }},
        {"outline pen", [](Frame& f) { f[2].penWidth = 4.0f; }},
        {"outline scrolled one pixel", [](Frame& f) { f[2].area.y = -21; }},
        {"one digit of a text", [](Frame& f) { f[3].text = u"1 lot of 7"; }},
        {"a longer text", [](Frame& f) { f[3].text = u"1 lot of 60"; }},
        {"text colour", [](Frame& f) { f[3].colour = 0xFFFA3232; }},
        {"text font size", [](Frame& f) { f[3].font = 1; }},
        {"text moved", [](Frame& f) { f[3].area.x = 21; }},
        {"alignment", [](Frame& f) { f[5].align = TextAlign::Centre; }},
        {"box height", [](Frame& f) { f[5].area.height = 41; }},
        {"another picture", [](Frame& f) { f[6].image = 1; }},
        {"picture moved", [](Frame& f) { f[6].area.y = 491; }},
        {"another part of a picture", [](Frame& f) { f[7].source.x = 189; }},
        {"balloon risen", [](Frame& f) { f[7].area.y = 464.7f; }},
        {"a call fewer", [](Frame& f) { f.pop_back(); }},
        {"a call more", [](Frame& f) { f.push_back({Step::Fill}); }},
        {"two calls swapped", [](Frame& f) { std::swap(f[1], f[2]); }},
        {"no clear", [](Frame& f) { f.erase(f.begin()); }},
        {"texts moved between calls",
         [](Frame& f) {
             f[3].text = u"1 lot of ";
             f[5].text = u"6150";
         }},
    };
    ASSERT_TRUE(record(base));
    ASSERT_FALSE(record(base));
    for (const Mutation& mutation : mutations) {
        SCOPED_TRACE(mutation.what);
        Frame changed = base;
        mutation.apply(changed);
        EXPECT_TRUE(record(changed));
        EXPECT_FALSE(record(changed));
        EXPECT_TRUE(record(base));
    }
    // A pass break alone draws nothing different.
    Frame split = base;
    split.insert(split.begin() + 2, Operation{Step::PassBreak});
    EXPECT_FALSE(record(split));
}

TEST_F(FrameRecorderTest, RandomFramesDifferExactlyWhenTheirCallsDo) {
    std::mt19937 random(7);
    Frame previous;
    for (int round = 0; round < 300; ++round) {
        Frame frame = random() % 3 == 0 ? previous : randomFrame(random);
        if (random() % 4 == 0 && frame.size() > 1) {
            frame[random() % (frame.size() - 1) + 1].colour ^= 1;  // a colour one step off
        }
        FakeBackBuffer before;
        FakeBackBuffer after;
        drawFrame(previous, before, materials);
        drawFrame(frame, after, materials);
        bool same = before.calls.size() == after.calls.size() && round > 0;
        for (std::size_t i = 0; same && i < after.calls.size(); ++i) {
            const DrawCall& a = before.calls[i];
            const DrawCall& b = after.calls[i];
            same = a.kind == b.kind && a.colour == b.colour && a.text == b.text &&
                   a.area.x == b.area.x && a.area.y == b.area.y && a.area.width == b.area.width &&
                   a.area.height == b.area.height && a.penWidth == b.penWidth &&
                   a.fontSize == b.fontSize && a.align == b.align && a.imagePath == b.imagePath &&
                   a.source.x == b.source.x && a.source.width == b.source.width;
        }
        EXPECT_EQ(record(frame), !same) << "round " << round;
        previous = frame;
    }
}

TEST_F(FrameRecorderTest, TextIsMeasuredByTheRealBufferAndNotRecorded) {
    recorder.beginFrame();
    auto pass = recorder.beginDrawing();
    const Rectangle measured = pass->measureText(u"1999", materials.fonts[0], {10, 20});
    const Rectangle expected = fakeMeasure(u"1999", 30.0f, {10, 20});
    EXPECT_EQ(measured.x, expected.x);
    EXPECT_EQ(measured.width, expected.width);
    EXPECT_EQ(measured.height, expected.height);
    pass.reset();
    EXPECT_EQ(recorder.recording().callCount(), 0u);
    EXPECT_EQ(recorder.width(), 800);
    EXPECT_EQ(recorder.height(), 600);
}

TEST_F(FrameRecorderTest, RecordingAFrameLikeTheLastAllocatesNothing) {
    std::mt19937 random(3);
    const Frame frame = randomFrame(random);
    record(frame);
    record(frame);
    allocations = 0;
    countingAllocations = true;
    const bool changed = record(frame);
    countingAllocations = false;
    EXPECT_FALSE(changed);
    EXPECT_EQ(allocations, 0);
}
}  // namespace
