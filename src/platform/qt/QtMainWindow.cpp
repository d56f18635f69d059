// The main window on Qt: its events become the program's messages.
#include "platform/qt/QtMainWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QWheelEvent>
#include <optional>

#include "platform/qt/QtHost.h"
#include "platform/qt/QtKeys.h"

namespace {
Message messageOf(MessageKind kind) {
    Message message;
    message.kind = kind;
    return message;
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
