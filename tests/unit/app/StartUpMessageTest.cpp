// The level file's start-up message: shown once, over the first frame, as an error box
// owned by the main window, with its time left out of the animations; and not shown at
// all for the shipped files.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>

#include "app/Application.h"
#include "app/Program.h"
#include "fakes/FakeDrawing.h"
#include "fakes/FakeHost.h"
#include "unit/lesson/ScratchFiles.h"

namespace {

constexpr double secondsInTheBox = 30.0;
constexpr double balloonPixelsPerSecond = 15.0;

struct ThreeFrames {
    std::vector<RecordedMessageBox> boxes;
    std::size_t framesBeforeTheBox = 0;
    double secondsRisen = 0.0;  // the balloon's rise over the run, in seconds
};

// Runs three frames of the program in the current folder, with the balloon rising and
// any message box staying open for half a minute.
ThreeFrames runThreeFrames() {
    FakeDrawingServices services;
    registerProgramImageSizes(services);
    FakeHost host;
    Application application(host);
    application.createMainWindow();
    application.lessonPanel->balloonStage = 5;
    application.lessonPanel->balloonY = 465.0f;
    ThreeFrames run;
    host.whileMessageBoxOpen = [&] {
        run.framesBeforeTheBox = host.presentCounts.size();
        host.advanceSeconds(secondsInTheBox);
    };
    host.onPresent = [&](int frame) {
        if (frame == 3) {
            host.postQuit(0);
        }
    };
    application.runFrameLoop();
    run.boxes = host.messageBoxes;
    run.secondsRisen = (465.0 - application.lessonPanel->balloonY) / balloonPixelsPerSecond;
    return run;
}

TEST(StartUpMessage, ALevelThatCanGiveNoQuestionIsSaidOnceOverTheFirstFrame) {
    scratch::WorkingFolder folder;
    scratch::writeFile("Data/levels.txt",
                       "HEADER\nB,2,5,30,199 x\nN,2,9,100,999 x\nI,6,12,600,2999 x\n"
                       "A,13,29,2000,6999 x\nE,59,21,6000,9999 reversed\nEND,");
    const ThreeFrames run = runThreeFrames();
    ASSERT_EQ(run.boxes.size(), 1u);
    const RecordedMessageBox& box = run.boxes[0];
    EXPECT_EQ(box.owner, MessageBoxOwner::MainWindow);
    EXPECT_EQ(box.caption, u"Error");
    EXPECT_EQ(box.buttons, MessageBoxButtons::Ok);
    EXPECT_NE(box.text.find(u"The Expert level (line 6,"), std::u16string::npos);
    EXPECT_NE(box.text.find(u"New Question gives 100 \u00F7 7 instead."), std::u16string::npos);
    EXPECT_EQ(run.framesBeforeTheBox, 1u);
    // Three frames of sleeping, not the half minute the box stood open.
    EXPECT_LT(run.secondsRisen, 1.0);
}

TEST(StartUpMessage, NoneForTheShippedFilesOrAMissingLevelFile) {
    EXPECT_TRUE(runThreeFrames().boxes.empty());
    scratch::WorkingFolder folder;
    EXPECT_TRUE(runThreeFrames().boxes.empty());
}

// Started where none of Data, Resources and Help is, the program says so in its Error
// box over the first frame, so that the window behind it is drawn, not blank.
TEST(StartUpMessage, MissingFoldersAreSaidOverTheFirstFrame) {
    scratch::WorkingFolder folder;
    std::filesystem::remove("Data");
    FakeDrawingServices services;
    FakeHost host;
    std::size_t framesBeforeTheBox = 0;
    host.whileMessageBoxOpen = [&] { framesBeforeTheBox = host.presentCounts.size(); };
    host.onPresent = [&](int frame) {
        if (frame == 3) {
            host.postQuit(0);
        }
    };
    testing::internal::CaptureStderr();
    runProgram(host);  // ends when the fake runs out of frames, whatever its code
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].caption, u"Error");
    EXPECT_EQ(host.messageBoxes[0].owner, MessageBoxOwner::MainWindow);
    EXPECT_NE(host.messageBoxes[0].text.find(u"cannot find its Data, Resources and Help"),
              std::u16string::npos);
    EXPECT_EQ(framesBeforeTheBox, 1u);
}

}  // namespace
