// Scrolling behaviour of the Glideport: coasting and its deceleration, clamping at both
// ends, dragging, the wheel, glides into view and the content-height hysteresis.
#include <gtest/gtest.h>

#include <cmath>

#include "fakes/FakeDrawing.h"
#include "widgets/Glideport.h"

namespace {

constexpr double frameSeconds = 0.02;

class GlideportTest : public ::testing::Test {
protected:
    // The board's panel: view 480 x 574, content as tall as the view.
    Glideport makePanel() {
        return Glideport(0.0, 800.0, 0.0f, 0.0f, 480.0f, 574.0f, 480.0f, 574.0f);
    }

    // A panel whose content is 2000 pixels tall, scrolled to the given origin.
    Glideport makeTallPanel(float originY) {
        Glideport panel = makePanel();
        panel.setContentHeight(2000.0f);
        panel.originY = originY;
        return panel;
    }

    FakeDrawingServices services;
};

TEST_F(GlideportTest, CoastFrom400ComesToRestAfter25FramesAnd104Pixels) {
    Glideport panel = makeTallPanel(-500.0f);
    panel.velocity = 400.0;
    for (int frame = 1; frame <= 24; ++frame) {
        panel.update(frameSeconds, {});
        ASSERT_GT(panel.velocity, 0.0) << "still moving after frame " << frame;
    }
    panel.update(frameSeconds, {});
    EXPECT_EQ(panel.velocity, 0.0);
    EXPECT_NEAR(panel.originY, -500.0f + 104.0f, 1e-3);

    panel.update(frameSeconds, {});
    EXPECT_NEAR(panel.originY, -396.0f, 1e-3) << "a panel at rest stays put";
}

TEST_F(GlideportTest, CoastUpwardsDeceleratesSymmetrically) {
    Glideport panel = makeTallPanel(-500.0f);
    panel.velocity = -400.0;
    for (int frame = 0; frame < 25; ++frame) {
        panel.update(frameSeconds, {});
    }
    EXPECT_EQ(panel.velocity, 0.0);
    EXPECT_NEAR(panel.originY, -604.0f, 1e-3);
}

TEST_F(GlideportTest, DecayNeverReversesTheSpeed) {
    Glideport panel = makeTallPanel(-500.0f);
    panel.velocity = 10.0;
    panel.update(frameSeconds, {});
    EXPECT_EQ(panel.velocity, 0.0);
    panel.velocity = -10.0;
    panel.update(frameSeconds, {});
    EXPECT_EQ(panel.velocity, 0.0);
}

TEST_F(GlideportTest, HittingTheTopStopsAllMotion) {
    Glideport panel = makeTallPanel(-10.0f);
    panel.velocity = 2000.0;
    panel.update(frameSeconds, {});
    EXPECT_EQ(panel.originY, 0.0f);
    EXPECT_EQ(panel.velocity, 0.0);
}

TEST_F(GlideportTest, HittingTheBottomStopsAllMotion) {
    const float bottom = 574.0f - 2000.0f;
    Glideport panel = makeTallPanel(bottom + 10.0f);
    panel.velocity = -2000.0;
    panel.update(frameSeconds, {});
    EXPECT_EQ(panel.originY, bottom);
    EXPECT_EQ(panel.velocity, 0.0);
}

TEST_F(GlideportTest, DragFollowsThePointerAndMeasuresItsSpeed) {
    Glideport panel = makeTallPanel(-500.0f);
    ASSERT_TRUE(panel.pointerDown({100.0f, 300.0f}));
    panel.update(frameSeconds, {100.0f, 280.0f});
    EXPECT_EQ(panel.originY, -520.0f);
    EXPECT_NEAR(panel.velocity, -1000.0, 1e-6);
    panel.update(frameSeconds, {100.0f, 280.0f});
    EXPECT_EQ(panel.velocity, 0.0) << "a pointer that stood still leaves no motion";
}

TEST_F(GlideportTest, ReleaseCoastsWithTheLastDragSpeed) {
    Glideport panel = makeTallPanel(-500.0f);
    ASSERT_TRUE(panel.pointerDown({100.0f, 300.0f}));
    panel.update(frameSeconds, {100.0f, 308.0f});
    panel.pointerUp();
    EXPECT_FALSE(panel.dragging);
    panel.update(frameSeconds, {100.0f, 500.0f});
    EXPECT_NEAR(panel.originY, -492.0f + 8.0f, 1e-3) << "coasting ignores the pointer";
    EXPECT_NEAR(panel.velocity, 400.0 - 16.0, 1e-6);
}

TEST_F(GlideportTest, DraggingPastTheTopClampsAndLeavesNoCoast) {
    Glideport panel = makeTallPanel(-30.0f);
    ASSERT_TRUE(panel.pointerDown({100.0f, 100.0f}));
    panel.update(frameSeconds, {100.0f, 200.0f});
    EXPECT_EQ(panel.originY, 0.0f);
    EXPECT_EQ(panel.velocity, 0.0);
    panel.pointerUp();
    panel.update(frameSeconds, {});
    EXPECT_EQ(panel.originY, 0.0f);
}

TEST_F(GlideportTest, DraggingPastTheBottomClamps) {
    Glideport panel = makeTallPanel(-1400.0f);
    ASSERT_TRUE(panel.pointerDown({100.0f, 300.0f}));
    panel.update(frameSeconds, {100.0f, 100.0f});
    EXPECT_EQ(panel.originY, 574.0f - 2000.0f);
    EXPECT_EQ(panel.velocity, 0.0);
}

TEST_F(GlideportTest, DragStepWithoutMeasurableTimeStaysFiniteAndUnderThePointer) {
    Glideport panel = makeTallPanel(-500.0f);
    ASSERT_TRUE(panel.pointerDown({100.0f, 300.0f}));
    panel.update(frameSeconds, {100.0f, 310.0f});
    const double flingSpeed = panel.velocity;
    ASSERT_NEAR(flingSpeed, 500.0, 1e-6);

    for (double seconds : {0.0, -0.02, std::nan(""), 1e-320}) {
        const float before = panel.originY;
        panel.update(seconds, {100.0f, panel.lastPointer.y + 5.0f});
        EXPECT_TRUE(std::isfinite(panel.velocity)) << "seconds " << seconds;
        EXPECT_TRUE(std::isfinite(panel.originY)) << "seconds " << seconds;
        EXPECT_EQ(panel.originY, before + 5.0f) << "content follows the pointer";
        EXPECT_EQ(panel.velocity, flingSpeed) << "keeps the last measured speed";
    }
}

TEST_F(GlideportTest, CoastingWithoutElapsedTimeDoesNotMove) {
    Glideport panel = makeTallPanel(-500.0f);
    panel.velocity = 400.0;
    for (double seconds : {0.0, -0.02, std::nan("")}) {
        panel.update(seconds, {});
        EXPECT_EQ(panel.originY, -500.0f);
        EXPECT_EQ(panel.velocity, 400.0);
    }
}

TEST_F(GlideportTest, ShortContentCannotBeScrolled) {
    Glideport panel = makePanel();
    panel.setContentHeight(130.0f);
    EXPECT_EQ(panel.contentHeight, 574.0f);
    EXPECT_EQ(panel.originY, 0.0f);

    ASSERT_TRUE(panel.pointerDown({100.0f, 100.0f}));
    panel.update(frameSeconds, {100.0f, 40.0f});
    EXPECT_EQ(panel.originY, 0.0f);
    panel.pointerUp();

    panel.wheel(-120, {});
    panel.update(frameSeconds, {});
    EXPECT_EQ(panel.originY, 0.0f);
    EXPECT_EQ(panel.velocity, 0.0);
}

TEST_F(GlideportTest, ContentHeightHysteresis) {
    Glideport panel = makePanel();
    panel.setContentHeight(1000.0f);
    EXPECT_EQ(panel.contentHeight, 1000.0f) << "growth applies at once";
    panel.originY = 574.0f - 1000.0f;  // scrolled to the bottom

    panel.setContentHeight(750.0f);
    EXPECT_EQ(panel.contentHeight, 1000.0f) << "a shrink of exactly 250 keeps the height";
    EXPECT_EQ(panel.originY, -426.0f);

    panel.setContentHeight(800.0f);
    EXPECT_EQ(panel.contentHeight, 1000.0f);

    panel.setContentHeight(749.0f);
    EXPECT_EQ(panel.contentHeight, 749.0f) << "a shrink beyond 250 applies";
    EXPECT_EQ(panel.originY, 574.0f - 749.0f) << "the two bottoms meet";
}

TEST_F(GlideportTest, ScrollToShowTheTopFromFarDown) {
    Glideport panel = makeTallPanel(-500.0f);
    panel.scrollToShow({0.0f, 0.0f, 1.0f, 1.0f});
    EXPECT_EQ(panel.velocity, 2000.0);
    EXPECT_EQ(panel.originY, -500.0f) << "the origin moves only in later updates";

    for (int frame = 0; frame < 200 && panel.velocity != 0.0; ++frame) {
        panel.update(frameSeconds, {});
    }
    EXPECT_EQ(panel.originY, 0.0f) << "glides until the top meets the view's top";
    EXPECT_EQ(panel.velocity, 0.0);
}

TEST_F(GlideportTest, ScrollToShowBelowTheViewMovesTheContentUp) {
    Glideport panel = makeTallPanel(0.0f);
    panel.scrollToShow({480.0f, 2000.0f, 1.0f, 1.0f});
    // The bottom lies 2000 + 1 - 574 = 1427 pixels below the view's bottom.
    EXPECT_EQ(panel.velocity, -(2.0 * 1427.0 + 200.0));
}

TEST_F(GlideportTest, ScrollToShowInsideTheViewLeavesTheSpeed) {
    Glideport panel = makeTallPanel(-500.0f);
    panel.velocity = 123.0;
    panel.scrollToShow({0.0f, 600.0f, 1.0f, 1.0f});
    EXPECT_EQ(panel.velocity, 123.0);
    panel.scrollToShow({0.0f, 500.0f, 1.0f, 574.0f});
    EXPECT_EQ(panel.velocity, 123.0) << "a rectangle exactly filling the view fits";
}

TEST_F(GlideportTest, WheelNotchesAddFixedSpeed) {
    Glideport panel = makeTallPanel(-500.0f);
    panel.wheel(0, {});
    EXPECT_EQ(panel.velocity, 300.0) << "a delta of 0 counts as positive";

    panel.velocity = 0.0;
    for (int notch = 0; notch < 3; ++notch) {
        panel.wheel(120, {});
    }
    EXPECT_EQ(panel.velocity, 900.0);

    panel.velocity = 0.0;
    panel.wheel(-120, {});
    EXPECT_EQ(panel.velocity, -300.0);
    panel.wheel(-2400, {});
    EXPECT_EQ(panel.velocity, -600.0) << "the size of the delta does not matter";
}

TEST_F(GlideportTest, WheelReadsOnlyTheLow16BitsAsSigned) {
    Glideport panel = makeTallPanel(-500.0f);
    panel.wheel(0x0000FF88, {});  // -120 in the low 16 bits
    EXPECT_EQ(panel.velocity, -300.0);
    panel.velocity = 0.0;
    panel.wheel(0x7FFF0000, {});  // low 16 bits are 0
    EXPECT_EQ(panel.velocity, 300.0);
    panel.velocity = 0.0;
    panel.wheel(static_cast<int>(0xFFFF0078u), {});  // +120 under a negative high word
    EXPECT_EQ(panel.velocity, 300.0);
}

TEST_F(GlideportTest, PressOnTheOutlineStartsADrag) {
    Glideport panel = makeTallPanel(-500.0f);
    EXPECT_TRUE(panel.pointerDown({480.0f, 300.0f}));
    EXPECT_TRUE(panel.dragging);
    EXPECT_EQ(services.handCursorCount, 1);
    panel.pointerUp();

    panel.originY = 0.0f;
    EXPECT_TRUE(panel.pointerDown({0.0f, 0.0f}));
    EXPECT_EQ(panel.lastPointer.x, 0.0f);
    EXPECT_EQ(panel.lastPointer.y, 0.0f);
}

TEST_F(GlideportTest, PressOffTheContentChangesNothing) {
    Glideport panel = makePanel();
    EXPECT_FALSE(panel.pointerDown({480.5f, 100.0f}));
    EXPECT_FALSE(panel.pointerDown({100.0f, 590.0f})) << "below content as short as the view";
    EXPECT_FALSE(panel.dragging);
    EXPECT_EQ(services.handCursorCount, 0);

    Glideport tall = makeTallPanel(-500.0f);
    EXPECT_TRUE(tall.pointerDown({100.0f, 590.0f})) << "below the view on taller content";
}

TEST_F(GlideportTest, ClampPrefersTheBottomRule) {
    Glideport panel = makePanel();
    panel.contentHeight = 300.0f;  // shorter than the view, set behind setContentHeight's back
    panel.originY = 50.0f;
    EXPECT_TRUE(panel.clampOrigin());
    EXPECT_EQ(panel.originY, 274.0f);
    EXPECT_FALSE(makeTallPanel(-10.0f).clampOrigin());
}

}  // namespace
