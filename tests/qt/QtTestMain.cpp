// Runs the backend tests inside a Qt application on the offscreen platform, with the
// Qt drawing services installed.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/QtDrawing.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QtDrawingServices drawing;
    installDrawingServices(&drawing);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    installDrawingServices(nullptr);
    return result;
}
