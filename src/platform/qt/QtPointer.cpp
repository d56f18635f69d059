// The pointer's position, asked of the window system only when it may have changed.
#include "platform/qt/QtPointer.h"

#include <QCursor>
#include <QEvent>
#include <QWidget>
#include <QWindow>

void QtPointer::watch(QWindow* window) {
    if (window != nullptr) {
        window->installEventFilter(this);
    }
}

QPoint QtPointer::positionIn(const QWidget* widget) {
    if (!inside || !known || widget != positionWidget) {
        const QPoint global = QCursor::pos();
        position = widget != nullptr ? widget->mapFromGlobal(global) : global;
        positionWidget = widget;
        known = true;
    }
    return position;
}

bool QtPointer::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::Enter:
            inside = true;
            known = false;
            break;
        case QEvent::Leave:
        case QEvent::Hide:
            inside = false;
            known = false;
            break;
        case QEvent::Move:  // a crossing, if the move made one, is reported as well
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TabletMove:
        case QEvent::TouchUpdate:
            known = false;
            break;
        default:
            break;
    }
    return false;  // the window still gets every event
}
