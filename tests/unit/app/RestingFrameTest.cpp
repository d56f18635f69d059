// The frame loop at rest: every pass still updates the panels with its elapsed time and
// sleeps 20 ms, but a frame that would show what the window already shows is neither
// drawn into the back buffer nor presented; one that differs is, at once.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/Application.h"
#include "fakes/FakeDrawing.h"
#include "fakes/FakeHost.h"
#include "platform/KeyCodes.h"

namespace {

class RestingFrameTest : public ::testing::Test {
public:
    RestingFrameTest() {
        registerProgramImageSizes(services);
        application.createMainWindow();
        host.cursor = {300, 300};  // over the working-out, on nothing that reacts
        host.onFrameEnd = [this](int frame) {
            if (const auto found = script.find(frame); found != script.end()) {
                found->second();
            }
            if (frame == frames) {
                host.postQuit(0);
            }
        };
    }

    LessonPanel& lesson() { return *application.lessonPanel; }
    FakeBackBuffer& buffer() { return static_cast<FakeBackBuffer&>(*application.backBuffer); }
    int presents() const { return static_cast<int>(host.presentCounts.size()); }

    FakeDrawingServices services;
    FakeHost host;
    Application application{host};
    std::map<int, std::function<void()>> script;  // what happens after a frame
    int frames = 50;
};

TEST_F(RestingFrameTest, ARestingLoopPresentsTheFirstFrameOnlyAndKeepsItsPace) {
    EXPECT_EQ(application.runFrameLoop(), 0);
    EXPECT_EQ(host.framesRun, 50);
    EXPECT_EQ(presents(), 1);
    EXPECT_EQ(buffer().clearCount, 1);
    EXPECT_EQ(host.sleptMilliseconds, 50 * 20);
}

// A window whose surface was made anew shows nothing until it is given a frame, so the
// resting picture is drawn and presented again, once.
TEST_F(RestingFrameTest, AWindowThatLostItsPictureGetsItAgainOnce) {
    script[10] = [this] { host.pictureLost = true; };
    application.runFrameLoop();
    ASSERT_EQ(presents(), 2);
    EXPECT_EQ(host.presentCounts[1], host.presentCounts[0] + 10 * 20000);
    EXPECT_EQ(buffer().clearCount, 2);
}

TEST_F(RestingFrameTest, PresentingEveryFrameIsStillPossibleForComparison) {
    application.presentEveryFrame = true;
    application.runFrameLoop();
    EXPECT_EQ(presents(), 50);
    EXPECT_EQ(buffer().clearCount, 50);
}

// Each change is presented in the very frame that first shows it, and the frame after
// it rests again.
TEST_F(RestingFrameTest, EachChangeIsPresentedInTheFrameThatShowsIt) {
    struct Change {
        const char* what;
        std::function<void(RestingFrameTest&)> make;
    };
    const Change changes[] = {
        {"a typed digit", [](RestingFrameTest& t) { t.host.pushKey(KeyCode::Digit0 + 4); }},
        {"the pointer over a button",
         [](RestingFrameTest& t) {
             t.host.cursor = {560, 285};
         }},
        {"a tap on the mascot",
         [](RestingFrameTest& t) {
             t.host.cursor = {735, 525};
             t.host.pushMessage(MessageKind::LeftButtonDown);
             t.host.pushMessage(MessageKind::LeftButtonUp);
         }},
        {"the lesson answered", [](RestingFrameTest& t) { t.lesson().lessonState = Answered; }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        FakeHost& fake = host;
        const std::size_t before = fake.presentCounts.size();
        const int start = fake.framesRun;
        script.clear();
        script[start + 3] = [&] { change.make(*this); };
        frames = start + 10;
        application.runFrameLoop();
        ASSERT_EQ(fake.presentCounts.size(), before + (before == 0 ? 2u : 1u));
        // The change's present came in frame start + 4, 20 ms of counter after frame 3.
        EXPECT_EQ(fake.presentCounts.back(), fake.frequency * (start + 3) / 50);
    }
}

// Moving things present every frame for as long as they move, and each frame still
// gets the whole time since the last one, presented or not.
TEST_F(RestingFrameTest, ARisingBalloonIsPresentedEveryFrameWithItsTime) {
    script[10] = [this] {
        lesson().balloonStage = 5;
        lesson().balloonY = 465.0f;
    };
    frames = 30;
    application.runFrameLoop();
    EXPECT_EQ(presents(), 1 + 20);
    // Twenty frames of 20 ms at 15 pixels a second.
    EXPECT_NEAR(lesson().balloonY, 465.0f - 20 * 0.02f * 15.0f, 1e-3);
}

TEST_F(RestingFrameTest, AModalPauseAtRestPresentsNothingAndTakesNoTime) {
    script[5] = [this] {
        lesson().balloonStage = 5;
        lesson().balloonY = 465.0f;
    };
    script[8] = [this] {
        application.beginModalPause();
        host.advanceSeconds(30.0);
        application.endModalPause();
    };
    frames = 12;
    application.runFrameLoop();
    // Seven frames of rise, the paused one among them given 20 ms like the rest.
    EXPECT_NEAR(lesson().balloonY, 465.0f - 7 * 0.02f * 15.0f, 1e-3);
    EXPECT_EQ(presents(), 1 + 7);
}
// The loop waits for the next message only after a frame that presented nothing while
// nothing moves; a held drag or a coasting working-out goes on at the usual pace.
TEST_F(RestingFrameTest, TheLoopWaitsOnlyAfterAnUnchangedFrameWithNothingMoving) {
    struct Case {
        const char* what;
        std::function<void(RestingFrameTest&)> make;
        int waits;  // in frames 11 to 20
    };
    const Case cases[] = {
        {"nothing", [](RestingFrameTest&) {}, 11},
        {"a drag held still",
         [](RestingFrameTest& t) { t.lesson().board.glideport.dragging = true; }, 0},
        {"a rising balloon", [](RestingFrameTest& t) { t.lesson().balloonStage = 5; }, 0},
        {"a coasting working-out",
         [](RestingFrameTest& t) {
             t.lesson().board.usedMultiples.assign(40, 1);  // far taller than the view
             t.lesson().board.glideport.velocity = -200.0;
         },
         0},
    };
    for (const Case& change : cases) {
        SCOPED_TRACE(change.what);
        const int start = host.framesRun;
        int waitsBefore = 0;
        script.clear();
        script[start + 10] = [&] {
            change.make(*this);
            waitsBefore = host.waits;
        };
        frames = start + 20;
        application.runFrameLoop();
        // Frames start + 10 to start + 20 each ended in a wait, or none did.
        EXPECT_EQ(host.waits - waitsBefore, change.waits);
        lesson().board.glideport.dragging = false;
        lesson().balloonStage = 0;
        lesson().balloonY = 465.0f;
    }
}

// Time spent waiting is left out of the next frame, as a modal period is: a balloon
// sent up by a tap after six seconds' rest rises one frame's distance per frame.
TEST_F(RestingFrameTest, AWaitIsLeftOutOfTheTimeOfTheFrameAfterIt) {
    FakeHost waiting;  // with a program made after the pictures' sizes are known
    Application program(waiting);
    program.createMainWindow();
    LessonPanel& panel = *program.lessonPanel;
    waiting.waitsForMessages = true;
    panel.balloonStage = 4;
    waiting.cursor = {735, 525};  // over the mascot
    waiting.onFrameEnd = [&waiting](int frame) {
        if (frame == 300) {
            waiting.pushMessage(MessageKind::LeftButtonDown);
            waiting.pushMessage(MessageKind::LeftButtonUp);
        }
        if (frame == 310) {
            waiting.postQuit(0);
        }
    };
    program.runFrameLoop();
    EXPECT_GT(waiting.framesWaited, 290);
    EXPECT_EQ(panel.balloonStage, 5);
    EXPECT_NEAR(panel.balloonY, 465.0f - 10 * 0.02f * 15.0f, 1e-3);
}
}  // namespace
