// The pointer's position, taken from the window's events and asked of the window system
// only when they cannot tell.
#include "platform/qt/QtPointer.h"

#include <QCursor>
#include <QEvent>
#include <QSinglePointEvent>
#include <QWidget>
#include <QWindow>

void QtPointer::watch(QWindow* window) {
    if (window != nullptr) {
        window->installEventFilter(this);
    }
}

QPoint QtPointer::positionIn(const QWidget* widget) {
    if (!known) {
        global = QCursor::pos();
        known = true;
        ++asked;
    }
    moved = false;
    return widget != nullptr ? widget->mapFromGlobal(global) : global;
}

bool QtPointer::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove:
            moved = true;
            [[fallthrough]];
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TabletMove:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            if (const auto* point = dynamic_cast<const QSinglePointEvent*>(event)) {
                global = point->globalPosition().toPoint();
                known = true;
            } else {
                known = false;
            }
            break;
        case QEvent::Leave:
            moved = true;
            known = false;
            break;
        case QEvent::Hide:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            known = false;
            break;
        default:
            break;
    }
    return false;  // the window still gets every event
}
