// Where the pointer is, without asking the X server every frame. Asking is a round
// trip that wakes the server and two of the program's threads fifty times a second,
// which is most of what a resting program costs. The answer cannot change while the
// pointer stays over the window without a mouse event arriving for it, so it is asked
// again only after a mouse event, after the pointer entered or left the window, and on
// every frame while the pointer is elsewhere.
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool inside = false;  // over the window, which then hears of every move
    bool known = false;   // position holds since the last event
    QPoint position;      // in the pixels of the widget last asked about
    const QWidget* positionWidget = nullptr;
};
