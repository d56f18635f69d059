// The main window and the host services on Qt.
#include "platform/qt/QtHost.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtFrameCopy.h"
#include "platform/qt/QtKeys.h"

namespace {
Message messageOf(MessageKind kind) {
    Message message;
    message.kind = kind;
    return message;
}
}  // namespace

QtMainWindow::QtMainWindow(QtHost& host) : host(host) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    // Movement is tracked only to put the arrow back after the hand cursor, as the
    // window system does for a window whose class cursor is the arrow.
    setMouseTracking(true);
}

// Also how an uncovered window gets its picture back: the last presented frame is
// kept, and only the part asked for is painted.
void QtMainWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (frame.isNull()) {
        painter.fillRect(area, Qt::white);
    } else {
        painter.drawImage(area, frame, area);
    }
}

void QtMainWindow::keyPressEvent(QKeyEvent* event) {
    const int code = toVirtualKey(event->key(), event->modifiers());
    Message message = messageOf(code == 0 ? MessageKind::Other : MessageKind::KeyDown);
    message.keyCode = static_cast<std::uint32_t>(code);
    host.post(message);
    event->accept();
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
        host.post(messageOf(MessageKind::LeftButtonUp));
    }
}

void QtMainWindow::mouseMoveEvent(QMouseEvent*) {
    unsetCursor();
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
    return std::make_unique<QtBackBuffer>(width, height);
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
        window->repaint(changed);
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
    return true;
}

void QtHost::post(const Message& message) {
    queue.push_back(message);
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

MessageBoxAnswer QtHost::messageBox(MessageBoxOwner owner, const std::u16string& text,
                                    const std::u16string& caption, MessageBoxButtons buttons) {
    QWidget* parent = owner == MessageBoxOwner::MainWindow ? window.get() : nullptr;
    return showQtMessageBox(parent, text, caption, buttons);
}

void QtHost::runDialog(DialogId dialog, DialogProcedure& procedure) {
    runQtDialog(window.get(), dialog, procedure);
}

void QtHost::openDocument(const std::string& relativePath) {
    const QString path = QDir::current().absoluteFilePath(QString::fromStdString(relativePath));
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
