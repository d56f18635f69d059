// Where the pointer is, from the window's own events. Asking the X server is a round
// trip that wakes the server and two of the program's threads, so it is asked only when
// the events cannot tell: before the first one, and once after the pointer left the
// window or the window was hidden (where it went is not reported; after that it stays
// off the window until an Enter event says otherwise, and any position there shows the
// same). Over the window every move is reported, and while a button is held the moves
// outside it are too.
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;
class QWindow;

class QtPointer : public QObject {
public:
    // Follows the mouse events of window from now on.
    void watch(QWindow* window);
    // The pointer's position in widget's pixels (on the screen when widget is null),
    // as QCursor::pos() and mapFromGlobal give it.
    QPoint positionIn(const QWidget* widget);
    // Whether the pointer moved over the window, came in or went out since the position
    // was last read: what the picture's hover may follow.
    bool movedSinceRead() const { return moved; }
    // How many times the window system was asked (for tests).
    int questions() const { return asked; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool known = false;  // global holds the pointer's position now
    bool moved = false;
    QPoint global;  // on the screen
    int asked = 0;
};
