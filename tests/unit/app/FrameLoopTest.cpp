// The frame loop against a scripted host: when frames are made, the time each frame is
// given (seen through the balloon, which rises 15 pixels a second), the pause
// accounting around modal calls, and how the loop and the window end.
#include <gtest/gtest.h>

#include <vector>

#include "app/Application.h"
#include "fakes/FakeDrawing.h"
#include "fakes/FakeHost.h"

namespace {
constexpr double balloonPixelsPerSecond = 15.0;

class FrameLoopTest : public ::testing::Test {
protected:
    FrameLoopTest() {
        registerProgramImageSizes(services);
        application.createMainWindow();
        // A rising balloon turns each frame's elapsed time into a distance.
        lesson().balloonStage = 5;
        lesson().balloonY = 465.0f;
        host.onPresent = [this](int frame) {
            balloonAtFrame.push_back(lesson().balloonY);
            if (onFrame) {
                onFrame(frame);
            }
            if (frame == framesWanted) {
                host.postQuit(0);
            }
        };
    }

    LessonPanel& lesson() { return *application.lessonPanel; }

    // The seconds each frame was given, from the balloon's steps.
    std::vector<double> frameSeconds() const {
        std::vector<double> seconds;
        double previous = 465.0;
        for (float y : balloonAtFrame) {
            seconds.push_back((previous - y) / balloonPixelsPerSecond);
            previous = y;
        }
        return seconds;
    }

    void pushOthers(int count) {
        for (int i = 0; i < count; ++i) {
            host.pushMessage(MessageKind::Other);
        }
    }

    // Simulates a modal dialog that stays open for the given time.
    void modalPeriod(double seconds) {
        application.beginModalPause();
        host.advanceSeconds(seconds);
        application.endModalPause();
    }

    FakeDrawingServices services;
    FakeHost host;
    Application application{host};
    std::vector<float> balloonAtFrame;
    std::function<void(int)> onFrame;
    int framesWanted = 1;
};

TEST_F(FrameLoopTest, WindowIsMadeWithItsTitlePlaceAndSizeAndTheBufferDuringCreation) {
    EXPECT_EQ(host.window.title, u"Bricketing - Quillmoor");
    EXPECT_EQ(host.window.x, 100);
    EXPECT_EQ(host.window.y, 100);
    EXPECT_EQ(host.window.width, 800);
    EXPECT_EQ(host.window.height, 600);
    EXPECT_EQ(host.createMessagesSent, 1);
    ASSERT_NE(application.backBuffer, nullptr);
    EXPECT_EQ(application.backBuffer->width(), 800);
    EXPECT_EQ(application.backBuffer->height(), 600);
}

TEST_F(FrameLoopTest, WaitingMessagesAreAllHandledBeforeAFrameAndItsTimeIncludesThem) {
    host.countsPerPeek = host.frequency / 10;  // each message takes 0.1 s to handle
    pushOthers(3);
    bool queueEmptyAtFirstFrame = false;
    onFrame = [&](int) { queueEmptyAtFirstFrame = host.queue.empty(); };

    EXPECT_EQ(application.runFrameLoop(), 0);

    EXPECT_TRUE(queueEmptyAtFirstFrame);
    ASSERT_EQ(frameSeconds().size(), 1u);
    EXPECT_NEAR(frameSeconds()[0], 0.3, 1e-4);
}

TEST_F(FrameLoopTest, EachFrameIsClearedDrawnPresentedAndFollowedByTwentyMilliseconds) {
    framesWanted = 3;
    application.runFrameLoop();
    auto& buffer = static_cast<FakeBackBuffer&>(*application.backBuffer);
    EXPECT_EQ(host.presentCounts.size(), 3u);
    EXPECT_EQ(buffer.clearCount, 3);
    EXPECT_EQ(host.sleptMilliseconds, 60);
    const auto seconds = frameSeconds();
    EXPECT_NEAR(seconds[1], 0.02, 1e-4);
    EXPECT_NEAR(seconds[2], 0.02, 1e-4);
}

TEST_F(FrameLoopTest, CommandPanelIsDrawnBeforeTheLessonPanel) {
    application.runFrameLoop();
    auto& buffer = static_cast<FakeBackBuffer&>(*application.backBuffer);
    int firstButton = -1;
    int logo = -1;
    for (int i = 0; i < static_cast<int>(buffer.calls.size()); ++i) {
        const DrawCall& call = buffer.calls[static_cast<std::size_t>(i)];
        if (firstButton < 0 && call.imagePath == "Resources/btnNewQuestion.png") {
            firstButton = i;
        }
        if (logo < 0 && call.imagePath == "Resources/Quillmoor_200.png") {
            logo = i;
        }
    }
    ASSERT_GE(firstButton, 0);
    ASSERT_GE(logo, 0);
    EXPECT_LT(firstButton, logo);
}

TEST_F(FrameLoopTest, AModalPeriodIsTakenOnceFromTheNextFrameOnly) {
    framesWanted = 3;
    onFrame = [&](int frame) {
        if (frame == 1) {
            modalPeriod(0.5);
        }
    };
    application.runFrameLoop();
    const auto seconds = frameSeconds();
    ASSERT_EQ(seconds.size(), 3u);
    EXPECT_NEAR(seconds[1], 0.02, 1e-4);
    EXPECT_NEAR(seconds[2], 0.02, 1e-4);
    EXPECT_DOUBLE_EQ(application.pausedSeconds, 0.0);
}

TEST_F(FrameLoopTest, MinutesInADialogGiveTheNextFrameAboutOneFrame) {
    framesWanted = 2;
    onFrame = [&](int frame) {
        if (frame == 1) {
            modalPeriod(300.0);
        }
    };
    application.runFrameLoop();
    EXPECT_NEAR(frameSeconds()[1], 0.02, 1e-4);
}

TEST_F(FrameLoopTest, ASecondModalCallBeforeTheNextFrameReplacesTheFirst) {
    framesWanted = 2;
    onFrame = [&](int frame) {
        if (frame == 1) {
            modalPeriod(0.5);
            modalPeriod(0.2);
        }
    };
    application.runFrameLoop();
    // Only the latest period is remembered, so the first one reaches the animation.
    EXPECT_NEAR(frameSeconds()[1], 0.02 + 0.5, 1e-4);
}

TEST_F(FrameLoopTest, TheLoopReturnsTheQuitMessagesCode) {
    framesWanted = 0;
    host.postQuit(7);
    EXPECT_EQ(application.runFrameLoop(), 7);
    EXPECT_TRUE(host.presentCounts.empty());
}

TEST_F(FrameLoopTest, DestroyingTheWindowEndsTheLoopWithCodeZero) {
    framesWanted = 0;
    onFrame = [&](int frame) {
        if (frame == 2) {
            host.destroyMainWindow();
        }
    };
    EXPECT_EQ(application.runFrameLoop(), 0);
    EXPECT_EQ(host.presentCounts.size(), 2u);
    EXPECT_FALSE(host.windowExists);
}

TEST_F(FrameLoopTest, WithoutACounterTheProgramSaysSoAndEndsWithZero) {
    host.hasCounter = false;
    EXPECT_EQ(application.runFrameLoop(), 0);
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].text, u"Performance timer does not exist!");
    EXPECT_EQ(host.messageBoxes[0].caption, u"");
    EXPECT_EQ(host.messageBoxes[0].buttons, MessageBoxButtons::Ok);
    EXPECT_EQ(host.messageBoxes[0].owner, MessageBoxOwner::None);
    EXPECT_TRUE(host.presentCounts.empty());
}

TEST_F(FrameLoopTest, PointerOutsideTheWindowIsNotClamped) {
    host.cursor = {-50, 900};
    const Point point = application.pointerPosition();
    EXPECT_FLOAT_EQ(point.x, -50.0f);
    EXPECT_FLOAT_EQ(point.y, 900.0f);
}
}  // namespace
