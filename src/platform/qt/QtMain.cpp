// The program's entry point on the Qt backend: the Qt application and the drawing
// services come first, since the panels load pictures and make fonts as they are made.
#include <QApplication>
#include <QIcon>

#include "app/Program.h"
#include "platform/desktop/DesktopSettingsStore.h"
#include "platform/qt/QtDrawing.h"
#include "platform/qt/QtHost.h"
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
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bricketing"));
    QApplication::setWindowIcon(programIcon());
    enterRuntimeFolder(QCoreApplication::applicationDirPath().toStdString());

    QtUserFolders folders;
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
