// Turns the main window's keyboard and mouse messages into calls on the lesson panel,
// its board and the command panel, and a command from the panel into its action.
// Pointer positions are always read afresh from the cursor, never from the message.
#include <cstdint>

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

void routeKey(Application& app, std::uint32_t keyCode) {
    if (keyCode == KeyCode::Escape) {
        app.confirmExit();
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
                lessonPanel->newRandomQuestion();
                lessonPanel->lessonState = Working;
                lessonPanel->board.setUpQuestion(lessonPanel->dividend, lessonPanel->divisor);
            }
            break;
        case CreateQuestion:
            runDialog(DialogId::CreateQuestion);
            break;
        case RestartQuestion:
            if (lessonPanel) {
                lessonPanel->lessonState = Working;
                lessonPanel->board.restartQuestion();
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
