// What the Glideport and the number row draw, where and in which colour, checked
// through the recording back buffer.
#include <gtest/gtest.h>

#include <string>

#include "fakes/DrawingAssertions.h"
#include "fakes/FakeDrawing.h"
#include "platform/KeyCodes.h"
#include "widgets/Glideport.h"
#include "widgets/NumericInput.h"

namespace {

class WidgetDrawingTest : public ::testing::Test {
protected:
    // The text box and frame that a row at the drawn point must use.
    struct RowGeometry {
        Rectangle textBox;
        Rectangle frame;
    };
    static RowGeometry expectedGeometry(Point drawnAt, unsigned int maxDigits) {
        const Rectangle textBox = fakeMeasure(u"0000", 30.0f, drawnAt);
        Rectangle frame = fakeMeasure(std::u16string(maxDigits, u'0'), 30.0f, drawnAt);
        frame.x = textBox.x + textBox.width - frame.width;
        return {textBox, frame};
    }

    // Draws the row and returns its two calls: the text, then the frame.
    std::pair<DrawCall, DrawCall> drawRow(NumericInput& row, Point origin) {
        buffer.calls.clear();
        row.draw(buffer, origin);
        EXPECT_EQ(buffer.calls.size(), 2u);
        if (buffer.calls.size() != 2u) {
            return {};
        }
        return {buffer.calls[0], buffer.calls[1]};
    }

    FakeDrawingServices services;
    FakeBackBuffer buffer;
};

TEST_F(WidgetDrawingTest, GlideportFillsTheViewAndOutlinesTheScrolledContent) {
    Glideport panel(0.0, 800.0, 0.0f, 0.0f, 480.0f, 574.0f, 480.0f, 574.0f);
    panel.setContentHeight(1200.0f);
    panel.originY = -300.0f;
    panel.draw(buffer);

    ASSERT_EQ(buffer.calls.size(), 2u);
    const DrawCall& fill = buffer.calls[0];
    EXPECT_EQ(fill.kind, DrawKind::FillRectangle);
    EXPECT_EQ(fill.colour, 0xFFEEE2B7u);
    expectRectangle(fill.area, {0.0f, 0.0f, 480.0f, 574.0f});

    const DrawCall& outline = buffer.calls[1];
    EXPECT_EQ(outline.kind, DrawKind::OutlineRectangle);
    EXPECT_EQ(outline.colour, 0xFF323232u);
    EXPECT_EQ(outline.penWidth, 5.0f);
    expectRectangle(outline.area, {0.0f, -300.0f, 480.0f, 1200.0f});

    buffer.calls.clear();
    panel.originY = -626.0f;
    panel.draw(buffer);
    ASSERT_EQ(buffer.calls.size(), 2u);
    expectRectangle(buffer.calls[0].area, {0.0f, 0.0f, 480.0f, 574.0f});
    EXPECT_FLOAT_EQ(buffer.calls[1].area.y, -626.0f) << "the outline moves with the content";
}

TEST_F(WidgetDrawingTest, EmptyRowShowsZeroRightAlignedInAFourDigitBox) {
    NumericInput row(2);
    row.position = {340.0f, 120.0f};
    const auto [text, frame] = drawRow(row, {0.0f, -50.0f});
    const RowGeometry expected = expectedGeometry({340.0f, 70.0f}, 2);

    EXPECT_EQ(text.kind, DrawKind::TextInBox);
    EXPECT_EQ(narrow(text.text), "0");
    EXPECT_EQ(text.align, TextAlign::Far);
    EXPECT_EQ(text.colour, row.normalColour);
    EXPECT_EQ(text.fontSize, 30.0f);
    expectRectangle(text.area, expected.textBox);

    EXPECT_EQ(frame.kind, DrawKind::OutlineRectangle);
    EXPECT_EQ(frame.penWidth, 2.0f);
    EXPECT_EQ(frame.colour, row.normalColour);
    expectRectangle(frame.area, expected.frame);
}

TEST_F(WidgetDrawingTest, FrameWidthFollowsMaxDigitsAndSharesTheRightEdge) {
    for (unsigned int digits : {1u, 2u, 3u, 4u}) {
        NumericInput row(digits);
        row.position = {35.0f, 40.0f};
        const auto [text, frame] = drawRow(row, {0.0f, 0.0f});
        const RowGeometry expected = expectedGeometry({35.0f, 40.0f}, digits);
        expectRectangle(frame.area, expected.frame);
        EXPECT_FLOAT_EQ(frame.area.x + frame.area.width, text.area.x + text.area.width)
            << digits << " digits";
    }
}

TEST_F(WidgetDrawingTest, RightToLeftShowsTheMarkWhileThereIsRoom) {
    NumericInput row(3);
    row.rightToLeft = 1;
    EXPECT_EQ(narrow(drawRow(row, {}).first.text), "_");

    row.applyKey(KeyCode::Digit0);
    row.applyKey(KeyCode::Digit0 + 5);
    EXPECT_EQ(narrow(drawRow(row, {}).first.text), "_50");

    row.applyKey(KeyCode::Digit0 + 1);
    EXPECT_EQ(narrow(drawRow(row, {}).first.text), "150") << "a full row shows no mark";
}

TEST_F(WidgetDrawingTest, LeftToRightShowsTheDigitsAsTyped) {
    NumericInput row(4);
    for (int digit : {3, 0, 5}) {
        row.applyKey(KeyCode::Digit0 + digit);
    }
    EXPECT_EQ(narrow(drawRow(row, {}).first.text), "305");
}

TEST_F(WidgetDrawingTest, ErrorColourColoursTextAndFrame) {
    NumericInput row(2);
    row.applyKey(KeyCode::Digit0 + 9);
    row.colour = row.errorColour;
    const auto [text, frame] = drawRow(row, {});
    EXPECT_EQ(text.colour, 0xFFFA1E1Eu);
    EXPECT_EQ(frame.colour, 0xFFFA1E1Eu);
    EXPECT_EQ(narrow(text.text), "9");
}

}  // namespace
