// The main window and the host services on Qt.
#include "platform/qt/QtHost.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QResizeEvent>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <cmath>

#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtFrameCopy.h"
#include "platform/qt/QtKeys.h"

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

// X11 and Wayland both report a key's xkb key code as its scan code; other platforms
// number keys their own way, and those events are read by their Qt key alone.
bool scanCodesAreXkb() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}
}  // namespace

QtMainWindow::QtMainWindow(QtHost& host) : host(host) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    // Movement over the window is tracked: it puts the arrow back after the hand
    // cursor, as the window system does for a window whose class cursor is the arrow,
    // and it is how a resting program hears that the hover may change.
    setMouseTracking(true);
}

// Also how an uncovered window gets its picture back: the last presented frame is
// kept, and only the part asked for is painted.
void QtMainWindow::paintEvent(QPaintEvent* event) {
    host.windowChanged();
    QPainter painter(this);
    const QRect area = event->rect();
    if (frame.isNull()) {
        painter.fillRect(area, Qt::white);
    } else {
        // The frame holds device pixels; area is in the window's own pixels.
        const qreal ratio = frame.devicePixelRatio();
        const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio,
                            area.height() * ratio);
        painter.drawImage(QRectF(area), frame, source);
    }
}

// Every key press reaches the program, known or not, except the system keys that
// Windows keeps from a window (Alt combinations and F10).
void QtMainWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
    const std::uint32_t scanCode = scanCodesAreXkb() ? event->nativeScanCode() : 0;
    const std::optional<int> code = keyDownCode(event->key(), event->modifiers(), scanCode);
    if (!code) {
        return;
    }
    Message message = messageOf(MessageKind::KeyDown);
    message.keyCode = static_cast<std::uint32_t>(*code);
    host.post(message);
}

void QtMainWindow::pressed(Qt::MouseButton button) {
    if (button == Qt::LeftButton) {
        host.post(messageOf(MessageKind::LeftButtonDown));
    } else if (button == Qt::RightButton) {
        host.post(messageOf(MessageKind::RightButtonDown));
    }
}

void QtMainWindow::mousePressEvent(QMouseEvent* event) {
    pressed(event->button());
}

// The window does not ask for double clicks: the second click of a pair is just
// another press.
void QtMainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed(event->button());
}

void QtMainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        unsetCursor();  // the end of any drag, which showed the hand
        host.post(messageOf(MessageKind::LeftButtonUp));
    }
}

// While a button is held the window has the mouse captured, and a cursor set for the
// drag stays; without one the window's own cursor, the arrow, comes back.
void QtMainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) {
        unsetCursor();
    }
}

void QtMainWindow::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        return;  // a sideways wheel, which the program does not use
    }
    Message message = messageOf(MessageKind::MouseWheel);
    message.wheelDelta = delta;
    host.post(message);
    event->accept();
}

// Painting the window system asks for (an uncovered window) and a move to another
// screen are what a resting program wakes for besides input.
bool QtMainWindow::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal || event->type() == QEvent::Show) {
        host.windowChanged();
    }
    return QWidget::event(event);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    host.windowClosed();
}

bool QtMainWindow::focusNextPrevChild(bool) {
    return false;
}

// A window manager honours the fixed size the window asks for; without one, another
// program can still resize it. The window then takes its own size back.
void QtMainWindow::resizeEvent(QResizeEvent* event) {
    const QSize fixed = minimumSize();
    if (fixed == maximumSize() && event->size() != fixed) {
        QTimer::singleShot(0, this, [this, fixed] { resize(fixed); });
    }
}

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
