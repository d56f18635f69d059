// The application's life cycle through its messages: the exit prompt, the window's
// destruction and what may still be waiting in the queue when it goes.
#include <gtest/gtest.h>

#include "app/Application.h"
#include "fakes/FakeDrawing.h"
#include "fakes/FakeHost.h"
#include "platform/KeyCodes.h"

namespace {
class LifeCycleTest : public ::testing::Test {
protected:
    LifeCycleTest() { application.createMainWindow(); }

    FakeDrawingServices services;
    FakeHost host;
    Application application{host};
};

TEST_F(LifeCycleTest, YesOnTheExitPromptEndsTheProgramWithCodeZero) {
    host.yesNoAnswer = MessageBoxAnswer::Yes;
    host.pushKey(KeyCode::Escape);
    EXPECT_EQ(application.runFrameLoop(), 0);
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].caption, u"Had enough?");
    EXPECT_EQ(host.messageBoxes[0].text, u"Finished bricketing for today?");
    EXPECT_FALSE(host.windowExists);
}

TEST_F(LifeCycleTest, InputQueuedBehindTheWindowsEndDoesNothing) {
    host.yesNoAnswer = MessageBoxAnswer::Yes;
    host.pushKey(KeyCode::Escape);
    host.pushKey(KeyCode::Escape);  // pressed again before the first was answered
    host.pushMessage(MessageKind::LeftButtonDown);
    EXPECT_EQ(application.runFrameLoop(), 0);
    EXPECT_EQ(host.messageBoxes.size(), 1u);
}

TEST_F(LifeCycleTest, NoOnTheExitPromptCarriesOn) {
    host.yesNoAnswer = MessageBoxAnswer::No;
    host.pushKey(KeyCode::Escape);
    host.onFrameEnd = [this](int frame) {
        if (frame == 3) {
            host.postQuit(0);
        }
    };
    EXPECT_EQ(application.runFrameLoop(), 0);
    EXPECT_TRUE(host.windowExists);
    EXPECT_EQ(host.framesRun, 3);
}
}  // namespace
