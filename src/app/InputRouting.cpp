// Turns the main window's keyboard and mouse messages into calls on the lesson panel,
// its board and the command panel, and a command from the panel into its action.
// Pointer positions are always read afresh from the cursor, never from the message.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/Application.h"
#include "platform/KeyCodes.h"

namespace {

constexpr const char* helpPage = "Help/help.html";

// The board takes a key as the low byte of its code read as a signed 8-bit number.
int boardKey(std::uint32_t keyCode) {
    return static_cast<int>(static_cast<std::int8_t>(keyCode & 0xFFu));
}

bool isWorking(const Application& app) {
    return app.lessonPanel && app.lessonPanel->lessonState == Working;
}

// A key that stands for a press makes the lesson's side of that press, through the
// same calls, and its release at once, as the mouse would. Presses on a command
// button reach the lesson too (they clear an error in the working-out), and one on
// the logo asks for About.
void pressLessonAt(Application& app, std::optional<Point> point) {
    if (!point || !app.lessonPanel) {
        return;
    }
    app.lessonPanel->mouseDown(*point);
    if (app.lessonPanel->aboutRequested) {
        app.runDialog(DialogId::About);
    }
    app.lessonPanel->board.glideport.pointerUp();
}

// The distinct multiples of the completed steps that still fit into what remains,
// newest first: the steps whose Repeat icon is shown.
std::vector<int> repeatableMultiples(const WorkingBoard& board) {
    std::vector<int> multiples;
    for (auto step = board.usedMultiples.rbegin(); step != board.usedMultiples.rend(); ++step) {
        if (board.canRepeat(*step) &&
            std::find(multiples.begin(), multiples.end(), *step) == multiples.end()) {
            multiples.push_back(*step);
        }
    }
    return multiples;
}

// Insert repeats the newest step that can be repeated; pressed again while that
// repeat waits for its remainder, it moves on to the next older one, round the list,
// so any completed step can be chosen.
std::optional<int> chosenRepeat(const WorkingBoard& board) {
    const std::vector<int> multiples = repeatableMultiples(board);
    if (multiples.empty()) {
        return std::nullopt;
    }
    const bool repeating = board.state == EnterRemainder || board.state == RemainderWrong;
    const auto current = std::find(multiples.begin(), multiples.end(), board.currentMultiple);
    if (!repeating || current == multiples.end()) {
        return multiples.front();
    }
    const auto next = static_cast<std::size_t>(current - multiples.begin()) + 1;
    return multiples[next % multiples.size()];
}

void pressRepeatKey(Application& app) {
    WorkingBoard& board = app.lessonPanel->board;
    if (const std::optional<int> multiple = chosenRepeat(board)) {
        pressLessonAt(app, board.repeatIconPoint(*multiple));
    }
}

// The keys that stand for a command button: the command runs as a click on the button
// runs it.
std::optional<int> commandOfKey(std::uint32_t keyCode) {
    switch (keyCode) {
        case KeyCode::F1:
            return Help;
        case KeyCode::F2:
            return NewQuestion;
        case KeyCode::F3:
            return CreateQuestion;
        case KeyCode::F4:
            return Settings;
        case KeyCode::F5:
            return RestartQuestion;
        default:
            return std::nullopt;
    }
}

// The middle of a command button, where the key standing for it presses.
std::optional<Point> buttonPoint(const Application& app, int command) {
    if (!app.menuPanel) {
        return std::nullopt;
    }
    const MenuPanel& menu = *app.menuPanel;
    const Point corner = menu.positions[static_cast<std::size_t>(command)];
    return Point{corner.x + menu.buttonWidth / 2.0f, corner.y + menu.buttonHeight / 2.0f};
}

void runCommandKey(Application& app, int command) {
    pressLessonAt(app, buttonPoint(app, command));
    app.runCommand(command);
}

// The keys that stand for a press on an icon of the board or on the logo (About);
// false for every other key. Each presses only where its icon is.
bool isPressKey(std::uint32_t keyCode) {
    return keyCode == KeyCode::F6 || keyCode == KeyCode::Delete || keyCode == KeyCode::Home ||
           keyCode == KeyCode::Insert;
}

bool routePressKey(Application& app, std::uint32_t keyCode) {
    if (!isPressKey(keyCode) || !app.lessonPanel) {
        return isPressKey(keyCode);
    }
    WorkingBoard& board = app.lessonPanel->board;
    switch (keyCode) {
        case KeyCode::F6:
            pressLessonAt(app, app.lessonPanel->logoPoint());
            return true;
        case KeyCode::Delete:
            pressLessonAt(app, board.deleteIconPoint());
            return true;
        case KeyCode::Home:
            pressLessonAt(app, board.upIconPoint());
            return true;
        case KeyCode::Insert:
            pressRepeatKey(app);
            return true;
        default:
            return false;
    }
}

void routeKey(Application& app, std::uint32_t keyCode) {
    if (keyCode == KeyCode::Escape) {
        app.confirmExit();
    } else if (const std::optional<int> command = commandOfKey(keyCode)) {
        runCommandKey(app, *command);
    } else if (routePressKey(app, keyCode)) {
        return;
    } else if (isWorking(app) && app.tutor && app.tutor->keyPressed(boardKey(keyCode))) {
        return;  // the key-facts box is being filled in before the first step
    } else if (isWorking(app)) {
        app.lessonPanel->board.keyPressed(boardKey(keyCode));
    }
}

// The right button flips the typing direction, the same flag Space flips.
void flipTypingDirection(Application& app) {
    if (!isWorking(app) || !app.lessonPanel->board.entryRow) {
        return;
    }
    WorkingBoard& board = app.lessonPanel->board;
    board.entryRow->rightToLeft = board.entryRow->rightToLeft == 0 ? 1 : 0;
    board.rememberDirection();
}

}  // namespace

void Application::routeInput(const Message& message) {
    switch (message.kind) {
        case MessageKind::KeyDown:
            routeKey(*this, message.keyCode);
            break;
        case MessageKind::LeftButtonDown:
            // Capture makes the release come back here even off the window.
            host.captureMouse();
            onMouseDown(pointerPosition());
            break;
        case MessageKind::LeftButtonUp:
            host.releaseMouse();
            onMouseUp();
            break;
        case MessageKind::RightButtonDown:
            flipTypingDirection(*this);
            break;
        case MessageKind::MouseWheel:
            // Scrolls the working-out wherever the pointer is and whatever the state.
            if (lessonPanel) {
                lessonPanel->board.glideport.wheel(message.wheelDelta, pointerPosition());
            }
            break;
        default:
            break;
    }
}

void Application::onMouseDown(Point point) {
    if (lessonPanel) {
        lessonPanel->mouseDown(point);
    }
    if (menuPanel) {
        menuPanel->press(pointerPosition());
    }
    if (lessonPanel && lessonPanel->aboutRequested) {
        runDialog(DialogId::About);
    }
}

void Application::onMouseUp() {
    if (lessonPanel) {
        lessonPanel->board.glideport.pointerUp();
    }
    if (!menuPanel || !menuPanel->release(pointerPosition())) {
        return;
    }
    const int command = menuPanel->hovered;
    menuPanel->hovered = -1;
    runCommand(command);
}

void Application::runCommand(int command) {
    switch (command) {
        case NewQuestion:
            if (lessonPanel) {
                lessonPanel->leaveQuestion(LeftBy::NewQuestion);
                lessonPanel->newRandomQuestion();
                lessonPanel->startQuestion(lessonPanel->dividend, lessonPanel->divisor, false);
            }
            break;
        case CreateQuestion:
            runDialog(DialogId::CreateQuestion);
            break;
        case RestartQuestion:
            if (lessonPanel) {
                lessonPanel->restartQuestion();
            }
            break;
        case Settings:
            runDialog(DialogId::Settings);
            break;
        case Help:
            // Returns at once, so there is no modal time to take off.
            host.openDocument(helpPage);
            break;
        case Exit:
            confirmExit();
            break;
        default:
            break;
    }
}
