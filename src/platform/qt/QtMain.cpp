// The program's entry point on the Qt backend: the Qt application and the drawing
// services come first, since the panels load pictures and make fonts as they are made.
#include <QApplication>
#include <QIcon>

#include "app/Program.h"
#include "platform/desktop/DesktopRecord.h"
#include "platform/desktop/DesktopSettingsStore.h"
#include "platform/qt/QtDrawing.h"
#include "platform/qt/QtHost.h"
#include "platform/qt/QtRecord.h"
#include "platform/qt/QtUserFolders.h"

namespace {
QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/icons/bricketing_%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
}  // namespace

int main(int argc, char* argv[]) {
    // bricketing --report [FOLDER...]: the teacher's page, with no window nor display.
    if (asksForReport(argc, argv)) {
        QCoreApplication application(argc, argv);
        enterRuntimeFolder(QCoreApplication::applicationDirPath().toStdString());
        return runReport(QtUserFolders().settingsFolder());
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bricketing"));
    QApplication::setWindowIcon(programIcon());
    enterRuntimeFolder(QCoreApplication::applicationDirPath().toStdString());

    QtUserFolders folders;
    DesktopRecord record(folders.settingsFolder(), accountUserName());
    DesktopSettingsStore settings(folders.settingsFolder(), folders.teacherFolder());
    installSettingsStore(&settings);
    QtDrawingServices drawing;
    installDrawingServices(&drawing);
    QtHost host(drawing);
    const int exitCode = runProgram(host);
    installDrawingServices(nullptr);
    installSettingsStore(nullptr);
    return exitCode;
}
