// The program's one window on Qt: it shows the last presented frame and hands its input
// to the host as the program's messages. Kept apart from the host so that the
// accessibility code can know the window without knowing the host.
#pragma once

#include <QImage>
#include <QWidget>

#include "platform/qt/QtAccessible.h"

class QtHost;

// The one window. It shows the last presented frame and turns input into messages;
// it never draws anything of its own.
class QtMainWindow : public QWidget {
public:
    explicit QtMainWindow(QtHost& host);
    QImage frame;
    QtWindowWords words;  // what screen readers are told of the window

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void pressed(Qt::MouseButton button);
    QtHost& host;
};
