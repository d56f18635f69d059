// The host services on Qt: messages, the cursor, time, modal windows and documents.
#include "platform/qt/QtHost.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <cmath>

#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtFrameCopy.h"

namespace {
Message messageOf(MessageKind kind) {
    Message message;
    message.kind = kind;
    return message;
}

// The pupil's input, as opposed to what the window system says about the window.
bool isInput(const Message& message) {
    switch (message.kind) {
        case MessageKind::KeyDown:
        case MessageKind::LeftButtonDown:
        case MessageKind::LeftButtonUp:
        case MessageKind::RightButtonDown:
        case MessageKind::MouseWheel:
            return true;
        default:
            return false;
    }
}

}  // namespace

QtHost::QtHost(QtDrawingServices& drawing) : drawing(drawing) {
    clock.start();
}

QtHost::~QtHost() {
    drawing.cursorWidget = nullptr;
}

void QtHost::createMainWindow(const WindowDescription& description, MessageHandler& handler) {
    installWindowAccessibility();
    window = std::make_unique<QtMainWindow>(*this);
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint);
    window->setWindowTitle(toQString(description.title));
    // On Linux the window manager draws the frame outside the client area, so the
    // client area is the whole buffer and cannot be resized.
    window->setFixedSize(description.width, description.height);
    drawing.cursorWidget = window.get();
    handler.handleMessage(messageOf(MessageKind::Create));
    window->move(description.x, description.y);
    window->show();
    pointer.watch(window->windowHandle());
    window->raise();
    window->activateWindow();
}

void QtHost::publishAccessibleText(const AccessibleText& text) {
    if (window) {
        publishWindowWords(*window, window->words, text);
    }
}

void QtHost::announce(const std::u16string& text) {
    if (window) {
        announceInWindow(*window, window->words, text);
    }
}

void QtHost::destroyMainWindow() {
    windowClosed();
}

void QtHost::windowClosed() {
    if (windowDestroyed) {
        return;
    }
    windowDestroyed = true;
    if (window) {
        window->hide();
    }
    post(messageOf(MessageKind::Destroy));
}

std::unique_ptr<BackBuffer> QtHost::createBackBuffer(int width, int height) {
    // As many device pixels per pixel as the window's screen has.
    const qreal ratio = window ? window->devicePixelRatioF() : 1.0;
    return std::make_unique<QtBackBuffer>(width, height, ratio);
}

// The window keeps its own copy of the frame, reused from frame to frame, and
// repaints only the part that changed.
void QtHost::present(BackBuffer& buffer) {
    if (!window || windowDestroyed) {
        return;
    }
    frameLog.presented();
    const QRect changed =
        copyChangedPixels(static_cast<QtBackBuffer&>(buffer).image, window->frame);
    if (!changed.isEmpty()) {
        // The band is in the buffer's device pixels; the window repaints in its own.
        const qreal ratio = window->frame.devicePixelRatio();
        const int top = static_cast<int>(std::floor(changed.top() / ratio));
        const int bottom = static_cast<int>(std::ceil((changed.bottom() + 1) / ratio));
        window->repaint(QRect(0, top, window->width(), bottom - top));
    }
}

bool QtHost::peekMessage(Message& message) {
    if (queue.empty()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    if (queue.empty()) {
        return false;
    }
    message = queue.front();
    queue.pop_front();
    if (message.kind == MessageKind::LeftButtonDown) {
        leftButtonHeld = true;
    } else if (message.kind == MessageKind::LeftButtonUp) {
        leftButtonHeld = false;
    }
    return true;
}

void QtHost::post(const Message& message) {
    if (modalDepth > 0 && isInput(message)) {
        return;  // the main window's input is shut off while a modal window is open
    }
    queue.push_back(message);
}

void QtHost::dropWaitingInput() {
    std::erase_if(queue, [](const Message& message) { return isInput(message); });
}

void QtHost::enterModal() {
    dropWaitingInput();
    ++modalDepth;
}

// A release that happened while the modal window had the input never reached the
// main window; the press it ends is closed here so that no drag outlives the dialog.
void QtHost::leaveModal() {
    --modalDepth;
    if (modalDepth == 0 && leftButtonHeld &&
        !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton)) {
        post(messageOf(MessageKind::LeftButtonUp));
    }
}

void QtHost::postQuit(int exitCode) {
    Message quit = messageOf(MessageKind::Quit);
    quit.exitCode = exitCode;
    post(quit);
}

PixelPoint QtHost::cursorPosition() {
    const QPoint local = pointer.positionIn(window.get());
    return {local.x(), local.y()};
}

// Qt already keeps sending a widget the mouse events of a press it received until the
// button is released, even outside the window, which is what capture is for.
void QtHost::captureMouse() {}

void QtHost::releaseMouse() {}

bool QtHost::performanceFrequency(std::int64_t& countsPerSecond) {
    countsPerSecond = 1000000000;  // the clock counts nanoseconds
    return clock.isValid();
}

std::int64_t QtHost::performanceCounter() {
    return clock.nsecsElapsed();
}

void QtHost::sleepMilliseconds(int milliseconds) {
    frameLog.frameEnded();
    QThread::msleep(static_cast<unsigned long>(milliseconds));
    frameLog.frameStarts();
}

// Qt's event loop sleeps until the window system or a timer has something for it;
// events that neither bring a message nor move the pointer over the window (focus,
// properties, a pointer moving elsewhere) only send it back to sleep.
void QtHost::waitForMessage() {
    changedWhileWaiting = false;
    while (queue.empty() && !changedWhileWaiting && !pointer.movedSinceRead() && !windowDestroyed) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    frameLog.frameStarts();  // the wait is not part of the next frame's work
}

MessageBoxAnswer QtHost::messageBox(MessageBoxOwner owner, const std::u16string& text,
                                    const std::u16string& caption, MessageBoxButtons buttons) {
    QWidget* parent = owner == MessageBoxOwner::MainWindow ? window.get() : nullptr;
    enterModal();
    const MessageBoxAnswer answer = showQtMessageBox(parent, text, caption, buttons);
    leaveModal();
    return answer;
}

void QtHost::runDialog(DialogId dialog, DialogProcedure& procedure) {
    enterModal();
    runQtDialog(window.get(), dialog, procedure);
    leaveModal();
}

// Qt reads the desktop's language settings (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
std::vector<std::string> QtHost::preferredLanguages() {
    return systemLanguages();
}

std::vector<std::string> QtHost::systemLanguages() {
    std::vector<std::string> languages;
    for (const QString& name : QLocale::system().uiLanguages()) {
        languages.push_back(name.toStdString());
    }
    return languages;
}

// The desktop's opener runs on its own, its output going nowhere: when it cannot open
// the page, the pupil sees nothing happen and nothing is written on the terminal.
void QtHost::openDocument(const std::string& relativePath) {
    const QString path = QDir::current().absoluteFilePath(QString::fromStdString(relativePath));
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QProcess opener;
    opener.setProgram(QStringLiteral("xdg-open"));
    opener.setArguments({path});
    opener.setStandardInputFile(QProcess::nullDevice());
    opener.setStandardOutputFile(QProcess::nullDevice());
    opener.setStandardErrorFile(QProcess::nullDevice());
    opener.startDetached();
#else
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
}
