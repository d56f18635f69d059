// The scripted window system.
#include "fakes/FakeHost.h"

void FakeHost::createMainWindow(const WindowDescription& description, MessageHandler& handler) {
    window = description;
    windowExists = true;
    ++createMessagesSent;
    Message create;
    create.kind = MessageKind::Create;
    handler.handleMessage(create);
}

void FakeHost::destroyMainWindow() {
    windowExists = false;
    pushMessage(MessageKind::Destroy);
}

std::unique_ptr<BackBuffer> FakeHost::createBackBuffer(int, int) {
    auto buffer = std::make_unique<FakeBackBuffer>();
    lastBackBuffer = buffer.get();
    return buffer;
}

void FakeHost::present(BackBuffer&) {
    presentCounts.push_back(counter);
    if (onPresent) {
        onPresent(static_cast<int>(presentCounts.size()));
    }
}

bool FakeHost::peekMessage(Message& message) {
    counter += std::exchange(hiddenCounts, 0);
    if (queue.empty()) {
        return false;
    }
    message = queue.front();
    queue.pop_front();
    counter += countsPerPeek;
    return true;
}

void FakeHost::postQuit(int exitCode) {
    Message quit;
    quit.kind = MessageKind::Quit;
    quit.exitCode = exitCode;
    queue.push_back(quit);
}

bool FakeHost::performanceFrequency(std::int64_t& countsPerSecond) {
    countsPerSecond = frequency;
    return hasCounter;
}

std::int64_t FakeHost::performanceCounter() {
    return counter;
}

// The loop sleeps once after every frame, presented or not.
void FakeHost::sleepMilliseconds(int milliseconds) {
    sleptMilliseconds += milliseconds;
    endFrame(milliseconds);
}

// Each frame of a wait passes as a frame of the loop that never waits would have: it
// is reported, then its 20 ms run.
void FakeHost::waitForMessage() {
    ++waits;
    if (!waitsForMessages) {
        return;
    }
    const std::int64_t start = counter;
    while (!waitEnded()) {
        ++framesWaited;
        endFrame(20);
    }
    if (waitHiddenFromCounter) {
        hiddenCounts += counter - start;
        counter = start;
    }
}

namespace {
bool overWindow(PixelPoint point) {
    return point.x >= 0 && point.y >= 0 && point.x < 800 && point.y < 600;
}
}  // namespace

// What ends a real host's wait: a message, the pointer moving over the window or
// leaving it since the loop last read it, the window's picture lost. A pointer that
// moves about off the window does not.
bool FakeHost::waitEnded() const {
    const bool moved = cursor.x != cursorRead.x || cursor.y != cursorRead.y;
    const bool pointerSeen = moved && (overWindow(cursorRead) || overWindow(cursor));
    return !queue.empty() || pictureLost || (pointerEndsWait && pointerSeen);
}

void FakeHost::endFrame(int milliseconds) {
    ++framesRun;
    if (onFrameEnd) {
        onFrameEnd(framesRun);
    }
    // A loop that a test forgot to end fails instead of running for ever.
    if (static_cast<std::size_t>(framesRun) == frameLimit) {
        postQuit(runawayExitCode);
    }
    counter += frequency * milliseconds / 1000;
}

MessageBoxAnswer FakeHost::messageBox(MessageBoxOwner owner, const std::u16string& text,
                                      const std::u16string& caption, MessageBoxButtons buttons) {
    messageBoxes.push_back({owner, text, caption, buttons});
    if (whileMessageBoxOpen) {
        whileMessageBoxOpen();
    }
    return buttons == MessageBoxButtons::YesNo ? yesNoAnswer : MessageBoxAnswer::Ok;
}

void FakeHost::runDialog(DialogId dialog, DialogProcedure& procedure) {
    dialogsRun.push_back(dialog);
    if (dialogDriver) {
        dialogDriver(dialog, procedure);
    }
}

void FakeHost::openDocument(const std::string& relativePath) {
    documentsOpened.push_back(relativePath);
}

void FakeHost::pushMessage(MessageKind kind) {
    Message message;
    message.kind = kind;
    queue.push_back(message);
}

void FakeHost::pushKey(std::uint32_t keyCode) {
    Message message;
    message.kind = MessageKind::KeyDown;
    message.keyCode = keyCode;
    queue.push_back(message);
}

void FakeHost::pushWheel(int delta) {
    Message message;
    message.kind = MessageKind::MouseWheel;
    message.wheelDelta = delta;
    queue.push_back(message);
}

void FakeHost::advanceSeconds(double seconds) {
    counter += static_cast<std::int64_t>(seconds * static_cast<double>(frequency));
}
