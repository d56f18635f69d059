// The main window's input as the application routes it, against the scripted host:
// keys and the right button only while the lesson is worked, Escape always, presses
// and releases through both panels to the commands, the wheel anywhere, and the pause
// accounting around every modal call.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/Application.h"
#include "fakes/FakeDialogHost.h"
#include "fakes/FakeDrawing.h"
#include "fakes/FakeHost.h"

namespace {

const PixelPoint onNewQuestion{560, 280};
const PixelPoint onCreateQuestion{640, 280};
const PixelPoint onRestartQuestion{720, 280};
const PixelPoint onSettings{560, 360};
const PixelPoint onHelp{640, 360};
const PixelPoint onExit{720, 360};
const PixelPoint onLogo{520, 500};
const PixelPoint awayFromEverything{790, 150};

// Drawing services that know the real pictures' sizes before any panel loads them, so
// that presses on the logo land.
struct ProgramDrawing : FakeDrawingServices {
    ProgramDrawing() { registerProgramImageSizes(*this); }
};

class InputRoutingTest : public ::testing::Test {
protected:
    InputRoutingTest() {
        application.createMainWindow();
        application.secondsPerCount = 1.0 / static_cast<double>(host.frequency);
    }

    LessonPanel& lesson() { return *application.lessonPanel; }
    MenuPanel& menu() { return *application.menuPanel; }

    void send(MessageKind kind) {
        Message message;
        message.kind = kind;
        application.handleMessage(message);
    }

    void key(std::uint32_t code) {
        Message message;
        message.kind = MessageKind::KeyDown;
        message.keyCode = code;
        application.handleMessage(message);
    }

    void wheel(int delta) {
        Message message;
        message.kind = MessageKind::MouseWheel;
        message.wheelDelta = delta;
        application.handleMessage(message);
    }

    // The pointer moves, and a frame's hover update sees it there.
    void moveTo(PixelPoint point) {
        host.cursor = point;
        menu().updateHover(application.pointerPosition());
    }

    void clickAt(PixelPoint point) {
        moveTo(point);
        send(MessageKind::LeftButtonDown);
        send(MessageKind::LeftButtonUp);
    }

    // Marks the lesson so that a new question is visible: an answered lesson and a
    // dividend no question can have.
    void markLesson() {
        lesson().lessonState = Answered;
        lesson().dividend = -1;
    }

    bool newQuestionStarted() {
        return lesson().lessonState == Working && lesson().dividend > 0 &&
               lesson().board.dividend == lesson().dividend &&
               lesson().board.divisor == lesson().divisor;
    }

    bool destroyQueued() const {
        for (const Message& message : host.queue) {
            if (message.kind == MessageKind::Destroy) {
                return true;
            }
        }
        return false;
    }

    ProgramDrawing services;
    FakeHost host;
    Application application{host};
};

TEST_F(InputRoutingTest, EscapeAsksBeforeEndingInEitherLessonState) {
    for (LessonState state : {Working, Answered}) {
        lesson().lessonState = state;
        const std::size_t before = host.messageBoxes.size();
        key(27);
        ASSERT_EQ(host.messageBoxes.size(), before + 1);
        const RecordedMessageBox& prompt = host.messageBoxes.back();
        EXPECT_EQ(prompt.owner, MessageBoxOwner::MainWindow);
        EXPECT_EQ(prompt.text, u"Finished bricketing for today?");
        EXPECT_EQ(prompt.caption, u"Had enough?");
        EXPECT_EQ(prompt.buttons, MessageBoxButtons::YesNo);
        EXPECT_TRUE(host.windowExists);
        EXPECT_FALSE(destroyQueued());
        EXPECT_EQ(lesson().lessonState, state);
    }
    host.yesNoAnswer = MessageBoxAnswer::Yes;
    key(27);
    EXPECT_FALSE(host.windowExists);
    EXPECT_TRUE(destroyQueued());
}

TEST_F(InputRoutingTest, DigitsReachTheBoardOnlyWhileTheLessonIsWorked) {
    ASSERT_NE(lesson().board.entryRow, nullptr);
    key('4');
    key(96 + 2);  // keypad 2
    EXPECT_EQ(lesson().board.entryRow->text, u"42");

    lesson().board.entryRow->clear();
    lesson().lessonState = Answered;
    key('5');
    key(96 + 7);
    EXPECT_EQ(lesson().board.entryRow->text, u"");
    EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(InputRoutingTest, RightPressFlipsTheTypingDirectionWhileWorked) {
    NumericInput& row = *lesson().board.entryRow;
    ASSERT_EQ(lesson().board.state, EnterMultiple);
    row.rightToLeft = 0;
    send(MessageKind::RightButtonDown);
    EXPECT_EQ(row.rightToLeft, 1);
    EXPECT_EQ(lesson().board.multipleRightToLeft, 1);
    send(MessageKind::RightButtonDown);
    EXPECT_EQ(row.rightToLeft, 0);
    EXPECT_EQ(lesson().board.multipleRightToLeft, 0);
    row.rightToLeft = 7;
    send(MessageKind::RightButtonDown);
    EXPECT_EQ(row.rightToLeft, 0);
}

TEST_F(InputRoutingTest, RightPressWhileAnsweredChangesNothing) {
    lesson().lessonState = Answered;
    lesson().board.entryRow->rightToLeft = 0;
    lesson().board.multipleRightToLeft = 0;
    send(MessageKind::RightButtonDown);
    EXPECT_EQ(lesson().board.entryRow->rightToLeft, 0);
    EXPECT_EQ(lesson().board.multipleRightToLeft, 0);

    lesson().lessonState = Working;
    lesson().board.entryRow.reset();
    send(MessageKind::RightButtonDown);
    EXPECT_EQ(lesson().board.multipleRightToLeft, 0);
}

TEST_F(InputRoutingTest, WheelScrollsTheWorkingOutWhereverThePointerIs) {
    Glideport& view = lesson().board.glideport;
    host.cursor = onSettings;
    const double start = view.velocity;
    wheel(120);
    EXPECT_DOUBLE_EQ(view.velocity, start + 300.0);
    lesson().lessonState = Answered;
    wheel(-120);
    wheel(-120);
    EXPECT_DOUBLE_EQ(view.velocity, start - 300.0);
}

TEST_F(InputRoutingTest, LeftButtonHoldsTheMouseCaptureUntilItIsReleased) {
    host.cursor = awayFromEverything;
    send(MessageKind::LeftButtonDown);
    EXPECT_TRUE(host.captured);
    send(MessageKind::LeftButtonUp);
    EXPECT_FALSE(host.captured);
}

TEST_F(InputRoutingTest, PressOnTheLogoReachesBothPanelsThenOpensAbout) {
    menu().buttons[CreateQuestion].state = Pressed;
    bool lessonSawThePress = false;
    ButtonState buttonWhenOpened = Pressed;
    host.dialogDriver = [&](DialogId, DialogProcedure&) {
        lessonSawThePress = lesson().aboutRequested;
        buttonWhenOpened = menu().buttons[CreateQuestion].state;
    };
    host.cursor = onLogo;
    send(MessageKind::LeftButtonDown);
    EXPECT_EQ(host.dialogsRun, std::vector<DialogId>{DialogId::About});
    EXPECT_TRUE(lessonSawThePress);
    EXPECT_EQ(buttonWhenOpened, Normal);
    send(MessageKind::LeftButtonUp);

    host.cursor = awayFromEverything;
    send(MessageKind::LeftButtonDown);
    send(MessageKind::LeftButtonUp);
    EXPECT_EQ(host.dialogsRun.size(), 1u);
}

// The release of a press held while the exit prompt opens goes to the prompt, never to
// the main window; the working-out must not go on following the pointer afterwards.
TEST_F(InputRoutingTest, TheExitPromptEndsADragOfTheWorkingOut) {
    // Ten steps of one lot each make a working-out taller than the view.
    lesson().board.autoRemainder = true;
    for (int step = 0; step < 10; ++step) {
        key('1');
        key(13);
    }
    lesson().update(0.02, {200.0f, 100.0f});
    Glideport& view = lesson().board.glideport;
    ASSERT_GT(view.contentHeight, view.viewHeight + 200.0f);
    view.velocity = 0.0;
    view.originY = -200.0f;

    host.cursor = {200, 100};
    send(MessageKind::LeftButtonDown);
    ASSERT_TRUE(view.dragging);
    key(27);
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_FALSE(view.dragging);

    // No release follows; moving the pointer leaves the working-out where it was.
    lesson().update(0.02, {200.0f, 200.0f});
    EXPECT_FLOAT_EQ(view.originY, -200.0f);
}

TEST_F(InputRoutingTest, DragFromAButtonToEmptySpaceFiresNothing) {
    markLesson();
    moveTo(onNewQuestion);
    send(MessageKind::LeftButtonDown);
    moveTo(awayFromEverything);
    send(MessageKind::LeftButtonUp);
    // The same drag released before any frame saw the pointer leave.
    moveTo(onCreateQuestion);
    send(MessageKind::LeftButtonDown);
    host.cursor = awayFromEverything;
    send(MessageKind::LeftButtonUp);

    EXPECT_EQ(lesson().dividend, -1);
    EXPECT_EQ(lesson().lessonState, Answered);
    EXPECT_TRUE(host.dialogsRun.empty());
    EXPECT_EQ(menu().hovered, -1);
    for (const MenuButton& button : menu().buttons) {
        EXPECT_EQ(button.state, Normal);
    }
}

TEST_F(InputRoutingTest, NewQuestionStartsADrawnQuestionAlsoAfterAnAnswer) {
    markLesson();
    clickAt(onNewQuestion);
    EXPECT_TRUE(newQuestionStarted());
    EXPECT_EQ(lesson().board.state, EnterMultiple);
    EXPECT_EQ(menu().hovered, -1);
}

TEST_F(InputRoutingTest, RestartQuestionStartsTheSameQuestionAgain) {
    const int dividend = lesson().dividend;
    lesson().board.usedMultiples = {3};
    lesson().board.remaining = 1;
    lesson().lessonState = Answered;
    clickAt(onRestartQuestion);
    EXPECT_EQ(lesson().lessonState, Working);
    EXPECT_EQ(lesson().dividend, dividend);
    EXPECT_TRUE(lesson().board.usedMultiples.empty());
    EXPECT_EQ(lesson().board.remaining, dividend);
}

TEST_F(InputRoutingTest, DoubleClickOnNewQuestionCountsAsTwoCommands) {
    moveTo(onNewQuestion);
    send(MessageKind::LeftButtonDown);
    send(MessageKind::LeftButtonUp);
    ASSERT_TRUE(newQuestionStarted());
    markLesson();
    moveTo(onNewQuestion);  // the frame between the two clicks
    send(MessageKind::LeftButtonDown);
    send(MessageKind::LeftButtonUp);
    EXPECT_TRUE(newQuestionStarted());
}

TEST_F(InputRoutingTest, HelpOpensThePageWithoutAPause) {
    application.pausedSeconds = 0.0;
    clickAt(onHelp);
    EXPECT_EQ(host.documentsOpened, std::vector<std::string>{"Help/help.html"});
    EXPECT_TRUE(host.dialogsRun.empty());
    EXPECT_TRUE(host.messageBoxes.empty());
    EXPECT_EQ(application.pausedSeconds, 0.0);
}

TEST_F(InputRoutingTest, ATypedQuestionStartsThroughTheCreateQuestionDialog) {
    lesson().lessonState = Answered;
    host.dialogDriver = [](DialogId, DialogProcedure& procedure) {
        FakeDialogHost dialog{{1, 2, 1015, 1016}};
        dialog.open(procedure);
        dialog.typeInto(1015, u"345");
        dialog.command(procedure, 1);
        dialog.typeInto(1016, u"7");
        dialog.command(procedure, 1);
        EXPECT_TRUE(dialog.ended);
    };
    clickAt(onCreateQuestion);
    EXPECT_EQ(lesson().dividend, 345);
    EXPECT_EQ(lesson().divisor, 7);
    EXPECT_EQ(lesson().lessonState, Working);
    EXPECT_EQ(lesson().board.dividend, 345);
}

// Every modal call leaves exactly the time spent inside it for the next frame to
// take off, and none of the time before it.
TEST_F(InputRoutingTest, EveryModalCallIsBracketedByThePauseAccounting) {
    host.dialogDriver = [this](DialogId, DialogProcedure&) { host.advanceSeconds(2.5); };
    host.whileMessageBoxOpen = [this] { host.advanceSeconds(1.25); };
    struct Case {
        const char* name;
        std::function<void()> open;
        double seconds;
    };
    const std::vector<Case> cases = {
        {"Create Question", [this] { clickAt(onCreateQuestion); }, 2.5},
        {"Settings", [this] { clickAt(onSettings); }, 2.5},
        {"About", [this] { clickAt(onLogo); }, 2.5},
        {"Exit", [this] { clickAt(onExit); }, 1.25},
        {"Escape", [this] { key(27); }, 1.25},
    };
    for (const Case& modal : cases) {
        application.pausedSeconds = 0.0;
        host.advanceSeconds(10.0);
        modal.open();
        EXPECT_DOUBLE_EQ(application.pausedSeconds, modal.seconds) << modal.name;
    }
    const std::vector<DialogId> dialogs = {DialogId::CreateQuestion, DialogId::Settings,
                                           DialogId::About};
    EXPECT_EQ(host.dialogsRun, dialogs);
    ASSERT_EQ(host.messageBoxes.size(), 2u);
    EXPECT_EQ(host.messageBoxes[0].text, u"Finished bricketing for today?");
}

TEST_F(InputRoutingTest, MissingPanelsAreSkippedAndEscapeStillAsks) {
    application.lessonPanel.reset();
    application.menuPanel.reset();
    host.cursor = onCreateQuestion;
    for (MessageKind kind : {MessageKind::LeftButtonDown, MessageKind::LeftButtonUp,
                             MessageKind::RightButtonDown, MessageKind::MouseWheel}) {
        send(kind);
    }
    key('4');
    for (int command = NewQuestion; command <= Settings; ++command) {
        application.runCommand(command);
    }
    EXPECT_TRUE(host.dialogsRun.empty());
    key(27);
    EXPECT_EQ(host.messageBoxes.size(), 1u);
}

}  // namespace
