// What the command panel draws: one frame of each button's strip chosen by its look,
// and the hover label under the block only while a button is hovered.
#include <gtest/gtest.h>

#include <vector>

#include "fakes/DrawingAssertions.h"
#include "fakes/FakeDrawing.h"
#include "menu/MenuPanel.h"

namespace {

std::vector<DrawCall> callsOfKind(const FakeBackBuffer& buffer, DrawKind kind) {
    std::vector<DrawCall> found;
    for (const DrawCall& call : buffer.calls) {
        if (call.kind == kind) {
            found.push_back(call);
        }
    }
    return found;
}

class MenuPanelDrawTest : public ::testing::Test {
protected:
    std::vector<DrawCall> drawAndCollect(MenuPanel& panel, DrawKind kind) {
        buffer.clear();
        panel.draw(buffer);
        return callsOfKind(buffer, kind);
    }

    FakeDrawingServices services;
    FakeBackBuffer buffer;
};

TEST_F(MenuPanelDrawTest, NothingHoveredDrawsTheNormalFramesAndNoLabel) {
    MenuPanel panel(75.0f, 75.0f);
    const auto parts = drawAndCollect(panel, DrawKind::ImagePart);
    ASSERT_EQ(parts.size(), 6u);
    const char* names[] = {"NewQuestion", "CreateQuestion", "RestartQuestion",
                           "Settings",    "Help",           "Exit"};
    const Point corners[] = {{525, 250}, {603, 250}, {681, 250},
                             {525, 328}, {603, 328}, {681, 328}};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(parts[i].imagePath, std::string("Resources/btn") + names[i] + ".png");
        expectRectangle(parts[i].area, {corners[i].x, corners[i].y, 75.0f, 75.0f});
        expectRectangle(parts[i].source, {0.0f, 0.0f, 75.0f, 75.0f});
    }
    EXPECT_TRUE(callsOfKind(buffer, DrawKind::TextInBox).empty());
    EXPECT_EQ(buffer.passCount, 1);
}

TEST_F(MenuPanelDrawTest, EachLookDrawsItsOwnFrameOfTheStrip) {
    MenuPanel panel(75.0f, 75.0f);
    const Point onRestart{700.0f, 300.0f};
    panel.updateHover(onRestart);
    EXPECT_FLOAT_EQ(drawAndCollect(panel, DrawKind::ImagePart)[2].source.x, 75.0f);
    panel.press(onRestart);
    const auto pressed = drawAndCollect(panel, DrawKind::ImagePart);
    EXPECT_FLOAT_EQ(pressed[2].source.x, 150.0f);
    EXPECT_FLOAT_EQ(pressed[1].source.x, 0.0f);
    EXPECT_FLOAT_EQ(pressed[3].source.x, 0.0f);
}

TEST_F(MenuPanelDrawTest, FramePitchStaysAt75WhateverTheButtonSize) {
    MenuPanel panel(60.0f, 50.0f);
    panel.updateHover({530.0f, 255.0f});
    const auto parts = drawAndCollect(panel, DrawKind::ImagePart);
    expectRectangle(parts[0].source, {75.0f, 0.0f, 60.0f, 50.0f});
    expectRectangle(parts[0].area, {525.0f, 250.0f, 60.0f, 50.0f});
}

TEST_F(MenuPanelDrawTest, HoverLabelIsTheHoveredButtonsCaptionCentredUnderTheBlock) {
    MenuPanel panel(75.0f, 75.0f);
    const char* labels[] = {
        "New Question", "Create Question", "Restart Question", "Settings", "Help", "Exit"};
    for (int i = 0; i < 6; ++i) {
        panel.updateHover({panel.positions[i].x + 10.0f, panel.positions[i].y + 10.0f});
        const auto texts = drawAndCollect(panel, DrawKind::TextInBox);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(narrow(texts[0].text), labels[i]);
        EXPECT_EQ(texts[0].colour, 0xFF320000u);
        EXPECT_FLOAT_EQ(texts[0].fontSize, 20.0f);
        EXPECT_EQ(texts[0].align, TextAlign::Centre);
        expectRectangle(texts[0].area, {525.0f, 410.0f, 250.0f, 50.0f});
    }
    panel.updateHover({10.0f, 10.0f});
    EXPECT_TRUE(drawAndCollect(panel, DrawKind::TextInBox).empty());
}

TEST_F(MenuPanelDrawTest, AButtonWithoutAnImageDrawsNothingButKeepsItsLabel) {
    MenuPanel panel(75.0f, 75.0f);
    panel.images[Help].reset();
    panel.updateHover({610.0f, 340.0f});
    EXPECT_EQ(drawAndCollect(panel, DrawKind::ImagePart).size(), 5u);
    const auto texts = callsOfKind(buffer, DrawKind::TextInBox);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(narrow(texts[0].text), "Help");
}

}  // namespace
