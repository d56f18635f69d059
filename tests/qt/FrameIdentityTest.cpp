// One scripted session through the frame loop on the Qt backend, run with the same
// clock: once painting and presenting every frame, once skipping the frames that would
// show what the window already shows, and once also waiting for the next message after
// such a frame while nothing moves. At every tick the window's picture must be the same
// in all, pixel for pixel, and so must the model's state at every tick and before every
// message. The session works a question with wrong entries, glides, hovers over
// buttons, drags, opens a dialog and the exit prompt, and sends the balloon up; then it
// rests for long stretches and after each one turns the wheel, leaves the window and
// comes back to hover, drags, and opens the dialogs again.
#include <gtest/gtest.h>

#include <QPainter>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/Application.h"
#include "fakes/FakeHost.h"
#include "platform/KeyCodes.h"
#include "platform/qt/QtDrawing.h"
#include "platform/qt/QtFrameCopy.h"

namespace {
constexpr int balloonEndTick = 400;  // the rising balloon is hurried away here
constexpr int lastTick = 2400;
constexpr int quietTick = 120;  // nothing moves around here: the frames are skipped

// What the model holds that the picture or the next message depends on.
std::string modelState(Application& app) {
    const LessonPanel& lesson = *app.lessonPanel;
    const WorkingBoard& board = lesson.board;
    std::ostringstream state;
    state << "lesson " << lesson.lessonState << " board " << board.state << " steps "
          << board.usedMultiples.size() << " remaining " << board.remaining << " origin "
          << board.glideport.originY << " velocity " << board.glideport.velocity << " drag "
          << board.glideport.dragging << " balloon " << lesson.balloonStage << " at "
          << lesson.balloonY << " hovered " << app.menuPanel->hovered << " buttons";
    for (const MenuButton& button : app.menuPanel->buttons) {
        state << " " << static_cast<int>(button.state);
    }
    return state.str();
}

// The fake window system with the Qt back buffer; what the window shows is the last
// frame presented to it.
class WindowHost : public FakeHost {
public:
    std::unique_ptr<BackBuffer> createBackBuffer(int width, int height) override {
        return std::make_unique<QtBackBuffer>(width, height);
    }
    void present(BackBuffer& buffer) override {
        FakeHost::present(buffer);
        presentTicks.push_back(framesRun + 1);
        copyChangedPixels(static_cast<QtBackBuffer&>(buffer).image, shown);
    }
    // The model's state before each message is handed to the loop.
    bool peekMessage(Message& message) override {
        if (!FakeHost::peekMessage(message)) {
            return false;
        }
        if (application != nullptr) {
            beforeMessages.push_back(modelState(*application));
        }
        return true;
    }
    QImage shown;
    std::vector<int> presentTicks;  // the frames that were presented
    Application* application = nullptr;
    std::vector<std::string> beforeMessages;
};

// The window's picture at every tick of one run, kept as the part that changed from
// the tick before, so that hundreds of ticks fit in little memory.
class Tape {
public:
    void record(const QImage& shown) {
        Change change;
        change.area = copyChangedPixels(shown, last);
        if (!change.area.isEmpty()) {
            change.pixels = shown.copy(change.area);
        }
        changes.push_back(change);
    }
    // The picture of the given tick (from 1), made by playing the ticks in order.
    void play(int tick, QImage& picture) const {
        const Change& change = changes.at(static_cast<std::size_t>(tick - 1));
        if (change.area.isEmpty()) {
            return;
        }
        if (picture.size() != change.pixels.size() && change.area.topLeft() == QPoint(0, 0) &&
            picture.isNull()) {
            picture = change.pixels.copy();
            return;
        }
        QPainter painter(&picture);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(change.area.topLeft(), change.pixels);
    }

    std::vector<std::string> states;  // the model's state at every tick

private:
    struct Change {
        QRect area;
        QImage pixels;
    };
    std::vector<Change> changes;
    QImage last;
};

using Script = std::map<int, std::vector<std::function<void(WindowHost&, Application&)>>>;

void at(Script& script, int tick, std::function<void(WindowHost&, Application&)> action) {
    script[tick].push_back(std::move(action));
}

// A change of the model made by the test, as a message the program handles would make
// it: the window system has sent the program a message about it (one it ignores), which
// ends a wait.
void change(Script& script, int tick, std::function<void(Application&)> make) {
    at(script, tick, [make](WindowHost& host, Application& app) {
        make(app);
        host.pushMessage(MessageKind::Other);
    });
}

void keys(Script& script, int tick, std::initializer_list<int> codes) {
    const std::vector<int> list(codes);
    at(script, tick, [list](WindowHost& host, Application&) {
        for (int code : list) {
            host.pushKey(static_cast<std::uint32_t>(code));
        }
    });
}

void pointer(Script& script, int tick, int x, int y) {
    at(script, tick, [x, y](WindowHost& host, Application&) { host.cursor = {x, y}; });
}

void press(Script& script, int tick, int x, int y) {
    pointer(script, tick, x, y);
    at(script, tick, [](WindowHost& host, Application&) {
        host.pushMessage(MessageKind::LeftButtonDown);
        host.pushMessage(MessageKind::LeftButtonUp);
    });
}

void wheel(Script& script, int tick, int delta) {
    at(script, tick, [delta](WindowHost& host, Application&) { host.pushWheel(delta); });
}

constexpr int digit(int value) {
    return KeyCode::Digit0 + value;
}

Script session() {
    Script script;
    // 500 / 7 worked by hand: a multiple too big, a wrong product, then right.
    keys(script, 3, {digit(9), digit(9), KeyCode::Enter});
    keys(script, 8, {digit(1)});  // clears the error only
    keys(script, 10, {digit(5), digit(0), KeyCode::Enter});
    keys(script, 14, {digit(3), digit(4), digit(0), KeyCode::Enter});
    keys(script, 18, {KeyCode::Backspace});
    keys(script, 20, {digit(3), digit(5), digit(0), KeyCode::Enter});
    keys(script, 24, {digit(1), digit(5), digit(0), KeyCode::Enter});
    // Then one lot at a time with the board filling in the rest: the working-out
    // outgrows the view and glides to each new line.
    change(script, 28, [](Application& app) {
        app.lessonPanel->board.autoProduct = true;
        app.lessonPanel->board.autoRemainder = true;
    });
    for (int step = 0; step < 21; ++step) {
        keys(script, 30 + 2 * step, {digit(1), KeyCode::Enter});
    }
    // A wrong answer, then the right one: 71.
    keys(script, 74, {digit(7), digit(0), KeyCode::Enter});
    keys(script, 78, {digit(1)});
    keys(script, 80, {digit(7), digit(1), KeyCode::Enter});
    // Hovers over two buttons, then back over the working-out.
    pointer(script, 84, 560, 285);
    pointer(script, 94, 640, 365);
    pointer(script, 104, 300, 300);
    // A change of one colour by one step and nothing else, the smallest change a frame
    // can make.
    change(script, 110, [](Application& app) { app.lessonPanel->board.inkColour = 0xFF1E1E1F; });
    // Glides by the wheel, both ways.
    for (int tick : {140, 142, 144}) {
        wheel(script, tick, 120);
    }
    wheel(script, 180, -120);
    wheel(script, 181, -120);
    // A drag that lets go while moving, so that the working-out coasts.
    pointer(script, 220, 200, 300);
    at(script, 220,
       [](WindowHost& host, Application&) { host.pushMessage(MessageKind::LeftButtonDown); });
    for (int tick = 221; tick <= 230; ++tick) {
        pointer(script, tick, 200, 300 + 12 * (tick - 220));
    }
    at(script, 231,
       [](WindowHost& host, Application&) { host.pushMessage(MessageKind::LeftButtonUp); });
    // The logo opens the About dialog for three seconds; Escape asks about leaving
    // for two, and the answer is No.
    press(script, 260, 600, 520);
    keys(script, 270, {KeyCode::Escape});
    // Five taps on the mascot: the balloon's four looks, then it rises; a glide
    // while it does.
    for (int tick = 280; tick <= 284; ++tick) {
        press(script, tick, 735, 525);
    }
    pointer(script, 285, 300, 300);
    wheel(script, 300, 120);
    // The balloon nearly at the top, so that it leaves and the long rests begin.
    at(script, balloonEndTick,
       [](WindowHost&, Application& app) { app.lessonPanel->balloonY = -60.0f; });
    // Eight seconds of rest, then the wheel; the glide's first frame must get one
    // frame's time, not the rest's.
    wheel(script, 900, -120);
    wheel(script, 901, -120);
    // The pointer leaves the window, wanders off it while resting, and comes back over
    // a button after a long rest: the caption follows at once.
    pointer(script, 1000, 900, 300);
    pointer(script, 1100, 1000, 650);
    pointer(script, 1300, 640, 365);
    pointer(script, 1350, 300, 300);
    // A drag after a rest, let go while moving.
    pointer(script, 1700, 200, 450);
    at(script, 1700,
       [](WindowHost& host, Application&) { host.pushMessage(MessageKind::LeftButtonDown); });
    for (int tick = 1701; tick <= 1708; ++tick) {
        pointer(script, tick, 200, 450 - 15 * (tick - 1700));
    }
    at(script, 1709,
       [](WindowHost& host, Application&) { host.pushMessage(MessageKind::LeftButtonUp); });
    // The dialogs after a rest: About, then the exit prompt.
    press(script, 2100, 600, 520);
    pointer(script, 2101, 300, 300);
    keys(script, 2200, {KeyCode::Escape});
    return script;
}

// The ticks at which the script moves the pointer without any message.
std::set<int> pointerOnlyTicks() {
    std::set<int> ticks;
    for (const int tick : {84, 94, 104, 285, 1000, 1300, 1350, 2101}) {
        ticks.insert(tick);
    }
    return ticks;
}

struct RunOptions {
    bool presentEveryFrame = false;
    bool waits = false;
    bool record = false;  // else compared with the tape
    int plantTick = 0;
    bool pointerEndsWait = true;
    bool waitHiddenFromCounter = false;
};

struct SessionRun {
    std::vector<int> presentTicks;
    int firstDifferentTick = 0;   // 0 when every tick showed the same picture
    int firstDifferentState = 0;  // 0 when the model agreed at every tick
    std::vector<std::string> beforeMessages;
    int framesWaited = 0;
};

// Runs the session. With record, the window's picture and the model's state are added
// to the tape at every tick; otherwise they are compared with the tape's. With
// plantTick, the logo's pixels are painted over after that tick: a change that no
// drawing call shows.
SessionRun runSession(const RunOptions& options, Tape& tape) {
    WindowHost host;
    Application application(host);
    host.application = &application;
    application.presentEveryFrame = options.presentEveryFrame;
    host.waitsForMessages = options.waits;
    host.pointerEndsWait = options.pointerEndsWait;
    host.waitHiddenFromCounter = options.waitHiddenFromCounter;
    application.createMainWindow();
    LessonPanel& lesson = *application.lessonPanel;
    lesson.dividend = 500;
    lesson.divisor = 7;
    lesson.lessonState = Working;
    lesson.board.autoProduct = false;
    lesson.board.autoRemainder = false;
    lesson.board.setUpQuestion(500, 7);
    host.cursor = {300, 300};
    host.dialogDriver = [&host](DialogId, DialogProcedure&) { host.advanceSeconds(3.0); };
    host.yesNoAnswer = MessageBoxAnswer::No;
    host.whileMessageBoxOpen = [&host] { host.advanceSeconds(2.0); };

    const Script script = session();
    SessionRun run;
    QImage expected;
    int balloonStageAtItsEnd = -1;
    host.onFrameEnd = [&](int tick) {
        const std::string state = modelState(application);
        if (options.record) {
            tape.record(host.shown);
            tape.states.push_back(state);
        } else {
            tape.play(tick, expected);
            if (run.firstDifferentTick == 0 && host.shown != expected) {
                run.firstDifferentTick = tick;
            }
            if (run.firstDifferentState == 0 &&
                state != tape.states.at(static_cast<std::size_t>(tick - 1))) {
                run.firstDifferentState = tick;
            }
        }
        if (tick == balloonEndTick) {
            balloonStageAtItsEnd = lesson.balloonStage;
        }
        if (const auto found = script.find(tick); found != script.end()) {
            for (const auto& action : found->second) {
                action(host, application);
            }
        }
        if (tick == options.plantTick) {
            static_cast<QtImage&>(*lesson.logoImage).image.fill(QColor(250, 50, 50));
        }
        if (tick == lastTick) {
            host.postQuit(0);
        }
    };
    EXPECT_EQ(application.runFrameLoop(), 0);
    EXPECT_EQ(host.framesRun, lastTick);
    EXPECT_EQ(host.dialogsRun.size(), 2u);
    EXPECT_EQ(host.messageBoxes.size(), 2u);
    EXPECT_EQ(lesson.lessonState, Answered);
    EXPECT_EQ(balloonStageAtItsEnd, 5) << "the balloon was rising";
    EXPECT_EQ(lesson.balloonStage, 0) << "and it has gone";
    run.presentTicks = host.presentTicks;
    run.beforeMessages = host.beforeMessages;
    run.framesWaited = host.framesWaited;
    return run;
}

SessionRun runSession(bool presentEveryFrame, Tape& tape, bool record, int plantTick = 0) {
    RunOptions options;
    options.presentEveryFrame = presentEveryFrame;
    options.record = record;
    options.plantTick = plantTick;
    return runSession(options, tape);
}

int presentsBetween(const SessionRun& run, int first, int last) {
    int count = 0;
    for (int tick : run.presentTicks) {
        count += tick >= first && tick <= last ? 1 : 0;
    }
    return count;
}

TEST(FrameIdentity, SkippingUnchangedFramesShowsTheSamePictureAtEveryTick) {
    Tape tape;
    const SessionRun everyFrame = runSession(true, tape, true);
    const SessionRun skipping = runSession(false, tape, false);

    EXPECT_EQ(skipping.firstDifferentTick, 0) << "the window differed first at this tick";
    EXPECT_EQ(static_cast<int>(everyFrame.presentTicks.size()), lastTick);
    // Both kinds of frame were exercised: many skipped, and every moving stretch drawn.
    const int presented = static_cast<int>(skipping.presentTicks.size());
    EXPECT_LT(presented, lastTick * 3 / 4);
    EXPECT_GT(presented, 60);
    EXPECT_EQ(skipping.firstDifferentState, 0) << "the model differed first at this tick";
    EXPECT_EQ(presentsBetween(skipping, 286, balloonEndTick), balloonEndTick - 286 + 1)
        << "the rising balloon is presented every frame";
    EXPECT_EQ(presentsBetween(skipping, quietTick - 5, quietTick + 5), 0)
        << "the session rests around the planted tick";
}

// The comparison can fail: a change that no drawing call shows (the logo's pixels
// painted over) reaches the window that presents every frame at once, and the
// skipping one only later. The test must see the difference in the very next frame.
TEST(FrameIdentity, AStaleSkippedFrameIsCaught) {
    Tape tape;
    runSession(true, tape, true, quietTick);
    const SessionRun skipping = runSession(false, tape, false, quietTick);
    EXPECT_EQ(skipping.firstDifferentTick, quietTick + 1);
}
// The loop that presents every frame and never waits, run once for the tests below.
struct Reference {
    Tape tape;
    SessionRun run;
};

const Reference& reference() {
    static const Reference made = [] {
        Reference result;
        RunOptions options;
        options.presentEveryFrame = true;
        options.record = true;
        result.run = runSession(options, result.tape);
        return result;
    }();
    return made;
}

SessionRun waitingRun(RunOptions options) {
    options.waits = true;
    Tape tape = reference().tape;
    return runSession(options, tape);
}

TEST(FrameIdentity, WaitingAtRestShowsTheSamePicturesAndModelAtEveryTickAndMessage) {
    const SessionRun waiting = waitingRun({});
    EXPECT_EQ(waiting.firstDifferentTick, 0) << "the window differed first at this tick";
    EXPECT_EQ(waiting.firstDifferentState, 0) << "the model differed first at this tick";
    ASSERT_EQ(waiting.beforeMessages.size(), reference().run.beforeMessages.size());
    for (std::size_t i = 0; i < waiting.beforeMessages.size(); ++i) {
        ASSERT_EQ(waiting.beforeMessages[i], reference().run.beforeMessages[i])
            << "before message " << i;
    }
    // It really waited, through most of the session, and never while anything moved.
    EXPECT_GT(waiting.framesWaited, lastTick * 2 / 3);
    EXPECT_EQ(presentsBetween(waiting, 286, balloonEndTick), balloonEndTick - 286 + 1);
}

// The comparison can fail: a wait whose time the next frame is given makes the first
// motion after a rest (a glide, a drag's coast) jump.
TEST(FrameIdentity, AWaitThatLeavesItsTimeInTheNextFrameIsCaught) {
    RunOptions options;
    options.waitHiddenFromCounter = true;
    const SessionRun faulty = waitingRun(options);
    EXPECT_NE(faulty.firstDifferentTick, 0);
    EXPECT_NE(faulty.firstDifferentState, 0);
}

// And a wait that only a message ends leaves the hover caption behind: the first
// difference is the frame after a pointer move that came with no message.
TEST(FrameIdentity, AHoverThatWaitsForTheNextMessageIsCaught) {
    RunOptions options;
    options.pointerEndsWait = false;
    const SessionRun faulty = waitingRun(options);
    EXPECT_EQ(pointerOnlyTicks().count(faulty.firstDifferentTick - 1), 1u)
        << "first different at tick " << faulty.firstDifferentTick;
}
}  // namespace
