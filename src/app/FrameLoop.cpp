// The frame loop: drain the waiting messages, then update, draw and show one frame,
// and sleep; a frame that would show what the window already shows is neither drawn
// nor presented, and after one such frame with nothing moving the loop waits for the
// next message. And the accounting that keeps time spent in modal dialogs and in those
// waits out of the animations.
#include "app/Application.h"

namespace {
constexpr int frameSleepMilliseconds = 20;
}  // namespace

int Application::runFrameLoop() {
    std::int64_t frequency = 0;
    if (!host.performanceFrequency(frequency) || frequency <= 0) {
        host.messageBox(MessageBoxOwner::None, u"Performance timer does not exist!", u"",
                        MessageBoxButtons::Ok);
        return 0;
    }
    secondsPerCount = 1.0 / static_cast<double>(frequency);
    std::int64_t previousCount = host.performanceCounter();
    Message message;
    for (;;) {
        if (host.peekMessage(message)) {
            if (message.kind == MessageKind::Quit) {
                return message.exitCode;
            }
            // No frame while messages wait; the next frame's time includes this.
            handleMessage(message);
            continue;
        }
        const std::int64_t nowCount = host.performanceCounter();
        double elapsedSeconds = static_cast<double>(nowCount - previousCount) * secondsPerCount;
        if (pausedSeconds > 0.0) {
            elapsedSeconds -= pausedSeconds;
            pausedSeconds = 0.0;
        }
        updateFrame(elapsedSeconds);
        const bool presented = drawFrame();
        // Shown over the first frame, so that the window stands behind it.
        showStartUpMessage();
        if (!pupilAsked) {
            pupilAsked = true;
            askWhoIsPractising();
        }
        previousCount = nowCount;
        host.sleepMilliseconds(frameSleepMilliseconds);
        if (!presented && nothingMoves()) {
            previousCount += waitForMessage();
        }
    }
}

// Until a message comes, every frame would be the same as this one, so none is made.
// The wait stands in for those frames: what a message does is handled as it would be
// after the last of them, one sleep after a frame, and the frame that shows it gets the
// sleep and the handling as its time, never the wait.
std::int64_t Application::waitForMessage() {
    const std::int64_t start = host.performanceCounter();
    host.waitForMessage();
    return host.performanceCounter() - start;
}

// Nothing changes with time alone: no drag, no coasting working-out, no rising balloon.
bool Application::nothingMoves() const {
    if (!lessonPanel) {
        return true;
    }
    const Glideport& view = lessonPanel->board.glideport;
    return !view.dragging && view.velocity == 0.0 &&
           lessonPanel->balloonStage != LessonPanel::balloonRising;
}

void Application::updateFrame(double elapsedSeconds) {
    if (menuPanel) {
        menuPanel->updateHover(pointerPosition());
    }
    if (lessonPanel) {
        lessonPanel->update(elapsedSeconds, pointerPosition());
    }
    publishLessonText();
}

// The panels draw into a recording first. Most frames, with nothing moving, record
// exactly the calls of the frame before: the window shows that picture already, so
// painting it again and copying it to the screen would only cost time and power.
bool Application::drawFrame() {
    if (!backBuffer || !frameRecorder) {
        return false;
    }
    FrameRecorder& frame = *frameRecorder;
    frame.beginFrame();
    frame.clear();
    if (menuPanel) {
        menuPanel->draw(frame);
    }
    if (lessonPanel) {
        lessonPanel->draw(frame);
    }
    if (presentEveryFrame || frame.changed() || host.windowPictureLost()) {
        frame.drawIntoTarget();
        host.present(*backBuffer);
        return true;
    }
    return false;
}

Point Application::pointerPosition() {
    const PixelPoint cursor = host.cursorPosition();
    const int originX = backBuffer ? backBuffer->originX() : 0;
    const int originY = backBuffer ? backBuffer->originY() : 0;
    return {static_cast<float>(cursor.x - originX), static_cast<float>(cursor.y - originY)};
}

void Application::beginModalPause() {
    modalStartCount = host.performanceCounter();
}

void Application::endModalPause() {
    pausedSeconds =
        static_cast<double>(host.performanceCounter() - modalStartCount) * secondsPerCount;
}
