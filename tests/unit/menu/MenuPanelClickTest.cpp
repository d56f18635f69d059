// How the command panel turns the pointer's hover, a press and a release into a
// command: the inclusive button edges, the gaps between buttons, and the sequences
// that must not fire.
#include <gtest/gtest.h>

#include "fakes/FakeDrawing.h"
#include "menu/MenuPanel.h"

namespace {

class MenuPanelClickTest : public ::testing::Test {
protected:
    // One frame's hover update followed by a press and a release at the same place,
    // as the shell sees a plain click. Returns the fired command or -1.
    int clickAt(Point point) {
        panel.updateHover(point);
        panel.press(point);
        return takeCommand(point);
    }

    // A release as the shell handles it: on success it takes hovered as the command
    // and sets it back to -1.
    int takeCommand(Point point) {
        if (!panel.release(point)) {
            return -1;
        }
        const int command = panel.hovered;
        panel.hovered = -1;
        return command;
    }

    int hoveredAfterFrameAt(Point point) {
        panel.updateHover(point);
        return panel.hovered;
    }

    FakeDrawingServices services;
    MenuPanel panel{75.0f, 75.0f};
};

const Point onNewQuestion{560.0f, 280.0f};
const Point onCreateQuestion{640.0f, 280.0f};
const Point emptySpace{300.0f, 500.0f};

TEST_F(MenuPanelClickTest, EachButtonFiresItsOwnCommand) {
    const Point centres[] = {{562.5f, 287.5f}, {640.5f, 287.5f}, {718.5f, 287.5f},
                             {562.5f, 365.5f}, {640.5f, 365.5f}, {718.5f, 365.5f}};
    for (int command = 0; command < 6; ++command) {
        EXPECT_EQ(clickAt(centres[command]), command);
    }
}

TEST_F(MenuPanelClickTest, RightAndBottomEdgesBelongToTheButton) {
    EXPECT_EQ(hoveredAfterFrameAt({600.0f, 260.0f}), NewQuestion);
    EXPECT_EQ(hoveredAfterFrameAt({525.0f, 250.0f}), NewQuestion);
    EXPECT_EQ(hoveredAfterFrameAt({560.0f, 325.0f}), NewQuestion);
    EXPECT_EQ(hoveredAfterFrameAt({756.0f, 403.0f}), Exit);
    EXPECT_EQ(clickAt({600.0f, 325.0f}), NewQuestion);
}

TEST_F(MenuPanelClickTest, TheThreePixelGapsHitNothing) {
    for (float x : {601.0f, 602.0f, 679.0f, 680.0f}) {
        EXPECT_EQ(hoveredAfterFrameAt({x, 260.0f}), -1) << "x = " << x;
        EXPECT_EQ(clickAt({x, 260.0f}), -1) << "x = " << x;
    }
    for (float y : {326.0f, 327.0f}) {
        EXPECT_EQ(hoveredAfterFrameAt({560.0f, y}), -1) << "y = " << y;
    }
    EXPECT_EQ(hoveredAfterFrameAt({603.0f, 260.0f}), CreateQuestion);
    EXPECT_EQ(hoveredAfterFrameAt({560.0f, 328.0f}), Settings);
    EXPECT_EQ(hoveredAfterFrameAt({524.9f, 260.0f}), -1);
    EXPECT_EQ(hoveredAfterFrameAt({757.0f, 260.0f}), -1);
}

TEST_F(MenuPanelClickTest, PressThenReleaseOnAnotherButtonFiresNothing) {
    panel.updateHover(onNewQuestion);
    panel.press(onNewQuestion);
    EXPECT_EQ(panel.buttons[0].state, Pressed);
    panel.updateHover(onCreateQuestion);
    EXPECT_EQ(takeCommand(onCreateQuestion), -1);
    EXPECT_EQ(panel.buttons[0].state, Normal);
    EXPECT_EQ(panel.buttons[1].state, Hover);
}

TEST_F(MenuPanelClickTest, LeavingAndComingBackBeforeTheReleaseFiresNothing) {
    panel.updateHover(onNewQuestion);
    panel.press(onNewQuestion);
    panel.updateHover(emptySpace);
    panel.updateHover(onNewQuestion);
    EXPECT_EQ(panel.buttons[0].state, Hover);
    EXPECT_EQ(takeCommand(onNewQuestion), -1);
    EXPECT_EQ(panel.buttons[0].state, Hover);

    panel.updateHover(onCreateQuestion);
    panel.updateHover(onNewQuestion);
    EXPECT_EQ(takeCommand(onNewQuestion), -1);
}

TEST_F(MenuPanelClickTest, PressBeforeTheHoverUpdateFiresNothing) {
    panel.press(onNewQuestion);
    EXPECT_EQ(panel.buttons[0].state, Pressed);
    EXPECT_EQ(takeCommand(onNewQuestion), -1);

    panel.press(onNewQuestion);
    panel.updateHover(onNewQuestion);
    EXPECT_EQ(panel.buttons[0].state, Hover);
    EXPECT_EQ(takeCommand(onNewQuestion), -1);
}

TEST_F(MenuPanelClickTest, AfterACommandNothingIsHoveredUntilTheNextFrame) {
    ASSERT_EQ(clickAt(onNewQuestion), NewQuestion);
    EXPECT_EQ(panel.hovered, -1);
    EXPECT_EQ(panel.buttons[0].state, Normal);
    panel.press(onNewQuestion);
    EXPECT_EQ(takeCommand(onNewQuestion), -1);

    panel.updateHover(onNewQuestion);
    EXPECT_EQ(panel.hovered, NewQuestion);
    EXPECT_EQ(panel.buttons[0].state, Hover);
    panel.press(onNewQuestion);
    EXPECT_EQ(takeCommand(onNewQuestion), NewQuestion);
}

TEST_F(MenuPanelClickTest, AButtonWithoutAnImageIsStillClickable) {
    panel.images[CreateQuestion].reset();
    EXPECT_EQ(clickAt(onCreateQuestion), CreateQuestion);
}

}  // namespace
