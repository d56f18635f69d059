// The main window's input as the application routes it, against the scripted host:
// keys and the right button only while the lesson is worked, Escape always, presses
// and releases through both panels to the commands, the wheel anywhere, and the pause
// accounting around every modal call.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "fakes/FakeDialogHost.h"
#include "fakes/FakeDrawing.h"
#include "fakes/FakeHost.h"
#include "features/narration/NarrationWords.h"
#include "words/Words.h"

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

TEST_F(InputRoutingTest, HelpOpensThePageOfThePupilsLanguage) {
    // Every language shipped has its translated page (po/help/update), English the plain
    // one; each is opened by the name the three hosts resolve from the run-time folder.
    for (const std::string& code : words::availableLanguages()) {
        EXPECT_TRUE(words::useLanguage(code)) << code;
        host.documentsOpened.clear();
        clickAt(onHelp);
        const std::string page = code == "en" ? "Help/help.html" : "Help/help." + code + ".html";
        EXPECT_EQ(host.documentsOpened, std::vector<std::string>{page}) << code;
        EXPECT_TRUE(std::filesystem::is_regular_file(page)) << page;
    }
    words::useLanguage("en");
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

// One program of a pair: a key is compared with the press it stands for on a program
// brought to the same point the same way.
struct Program {
    Program() {
        app.createMainWindow();
        app.secondsPerCount = 1.0 / static_cast<double>(host.frequency);
        host.dialogDriver = [this](DialogId, DialogProcedure&) { host.advanceSeconds(2.5); };
        lesson().dividend = 100;
        lesson().divisor = 7;
        lesson().board.setUpQuestion(100, 7);
    }
    LessonPanel& lesson() { return *app.lessonPanel; }
    WorkingBoard& board() { return lesson().board; }

    void send(MessageKind kind, std::uint32_t code = 0) {
        Message message;
        message.kind = kind;
        message.keyCode = code;
        app.handleMessage(message);
    }
    void answer(int number) {
        for (char digit : std::to_string(number)) {
            send(MessageKind::KeyDown, static_cast<std::uint32_t>(digit));
        }
        send(MessageKind::KeyDown, 13);
    }
    void click(PixelPoint point) {
        host.cursor = point;
        app.menuPanel->updateHover(app.pointerPosition());
        send(MessageKind::LeftButtonDown);
        send(MessageKind::LeftButtonUp);
    }

    struct Outcome {
        AccessibleText board;  // the working-out as its words tell it
        LessonState lessonState = Working;
        int dividend = 0;
        int divisor = 0;
        float originY = 0.0f;
        double velocity = 0.0;
        bool dragging = false;
        int balloonStage = 0;
        std::vector<DialogId> dialogs;
        std::vector<std::string> documents;
        std::size_t messageBoxes = 0;
        double pausedSeconds = 0.0;
        bool operator==(const Outcome&) const = default;
    };
    Outcome outcome() {
        return {describeLesson(board()),    lesson().lessonState,      lesson().dividend,
                lesson().divisor,           board().glideport.originY, board().glideport.velocity,
                board().glideport.dragging, lesson().balloonStage,     host.dialogsRun,
                host.documentsOpened,       host.messageBoxes.size(),  app.pausedSeconds};
    }

    ProgramDrawing services;
    FakeHost host;
    Application app{host};
};

// Two completed steps of 100 ÷ 7 (2 and 3 lots), 65 left: both can be repeated.
void twoSteps(Program& program) {
    for (int number : {2, 14, 86, 3, 21, 65}) {
        program.answer(number);
    }
}
void stepInProgress(Program& program) {
    twoSteps(program);
    program.answer(5);  // the product is asked for next
}
void productWrong(Program& program) {
    stepInProgress(program);
    program.answer(36);
}
// Fourteen steps of one lot, the answer asked for, the working-out scrolled well up.
void scrolledAnswer(Program& program) {
    program.board().autoRemainder = true;
    for (int step = 0; step < 14; ++step) {
        program.answer(1);
    }
    program.app.updateFrame(0.0);
    program.board().glideport.originY = -300.0f;
    program.app.drawFrame();
}
void fresh(Program&) {}

TEST(KeysStandForPresses, EachKeyMakesTheCallsOfItsPressAndOnlyWhereThePressActs) {
    struct Case {
        const char* name;
        void (*setUp)(Program&);
        std::vector<std::uint32_t> keys;
        std::vector<PixelPoint> presses;
        bool acts;
    };
    // Press points are the buttons, the logo and the icons where the picture has them.
    const std::vector<Case> cases = {
        {"F1 Help", fresh, {112}, {onHelp}, true},
        {"F1 in an error clears it", productWrong, {112}, {onHelp}, true},
        {"F2 New Question", twoSteps, {113}, {onNewQuestion}, true},
        {"F3 Create Question", fresh, {114}, {onCreateQuestion}, true},
        {"F4 Settings", fresh, {115}, {onSettings}, true},
        {"F5 Restart Question", twoSteps, {116}, {onRestartQuestion}, true},
        {"F6 About", fresh, {117}, {onLogo}, true},
        {"Delete the last step", twoSteps, {46}, {{15, 140}}, true},
        {"Delete the step in progress", stepInProgress, {46}, {{15, 220}}, true},
        {"Delete out of an error", productWrong, {46}, {{15, 220}}, true},
        {"Delete with nothing to delete", fresh, {46}, {{15, 60}}, false},
        {"Home scrolled up", scrolledAnswer, {36}, {{20, 20}}, true},
        {"Home not scrolled", twoSteps, {36}, {{20, 20}}, false},
        {"Insert the newest step", twoSteps, {45}, {{37, 140}}, true},
        {"Insert again, the older step", twoSteps, {45, 45}, {{37, 140}, {37, 60}}, true},
        {"Insert, round to the newest", twoSteps, {45, 45, 45}, {{37, 60}, {37, 140}}, true},
        {"Insert with no step", fresh, {45}, {{37, 60}}, false},
        {"R, Insert's twin, the newest step", twoSteps, {'R'}, {{37, 140}}, true},
        {"R then Insert, the older step", twoSteps, {'R', 45}, {{37, 140}, {37, 60}}, true},
        {"R with no step", fresh, {'R'}, {{37, 60}}, false},
    };
    for (const Case& item : cases) {
        Program byKey;
        Program byPress;
        item.setUp(byKey);
        item.setUp(byPress);
        const Program::Outcome before = byKey.outcome();
        std::srand(11);
        for (std::uint32_t code : item.keys) {
            byKey.send(MessageKind::KeyDown, code);
        }
        std::srand(11);
        for (PixelPoint point : item.presses) {
            byPress.click(point);
        }
        EXPECT_TRUE(byKey.outcome() == byPress.outcome()) << item.name;
        EXPECT_EQ(!(byKey.outcome() == before), item.acts) << item.name;
        EXPECT_TRUE(byKey.board().entryRow->text.empty()) << item.name;
    }
}

// The window's words follow the lesson: published when they change and only then, and
// each change that is more than typing announced once.
TEST(LessonNarration, WordsArePublishedOnChangeAndEachChangeAnnounced) {
    Program program;
    FakeHost& host = program.host;
    program.app.updateFrame(0.02);
    ASSERT_EQ(host.published.size(), 1u);
    EXPECT_EQ(host.published.back().name, u"100 \u00F7 7");
    program.app.updateFrame(0.02);
    EXPECT_EQ(host.published.size(), 1u);
    EXPECT_TRUE(host.announced.empty());

    program.send(MessageKind::KeyDown, '9');
    EXPECT_EQ(host.published.back().value, u"How many lots of 7 to take from 100? Typed: 9.");
    EXPECT_TRUE(host.announced.empty());
    program.send(MessageKind::KeyDown, '9');
    program.send(MessageKind::KeyDown, 13);
    ASSERT_EQ(host.announced.size(), 1u);
    EXPECT_EQ(host.announced.back().substr(0, 6), u"Wrong:");
    // The notice is the wrong line's words, then what the tutor says of the slip.
    EXPECT_EQ(host.announced.back().substr(0, host.published.back().value.size()),
              host.published.back().value);

    program.send(MessageKind::KeyDown, 113);  // F2: a new question
    EXPECT_EQ(host.published.back().name, questionWords(program.board()));
    EXPECT_EQ(host.announced.size(), 2u);
    const std::size_t published = host.published.size();
    program.app.updateFrame(0.02);
    EXPECT_EQ(host.published.size(), published);
}
