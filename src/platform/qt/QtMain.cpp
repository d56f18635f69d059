// The program's entry point on the Qt backend: the Qt application and the drawing
// services come first, since the panels load pictures and make fonts as they are made.
#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Program.h"
#include "platform/TeacherFolder.h"
#include "platform/desktop/DesktopClassListStore.h"
#include "platform/desktop/DesktopRecord.h"
#include "platform/desktop/DesktopSettingsStore.h"
#include "platform/desktop/TeacherFolderRule.h"
#include "platform/qt/QtDrawing.h"
#include "platform/qt/QtHost.h"
#include "platform/qt/QtRecord.h"
#include "platform/qt/QtSoundPlayer.h"
#include "platform/qt/QtUserFolders.h"
#include "words/Words.h"

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
    // --version, --help and --report [FOLDER...] (the teacher's page) are answered with no
    // window nor display, in the desktop's language.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (answersOnCommandLine(arguments) || asksForReport(argc, argv)) {
        QCoreApplication application(argc, argv);
        enterRuntimeFolder(QCoreApplication::applicationDirPath().toStdString());
        words::useLanguage(words::bestLanguage(QtHost::systemLanguages()));
        if (const auto answer = commandLineAnswer(arguments)) {
            std::fwrite(answer->text.data(), 1, answer->text.size(), stdout);
            return std::fflush(stdout) == 0 ? answer->exitCode : 1;
        }
        return runReport(QtUserFolders().settingsFolder());
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bricketing"));
    QApplication::setWindowIcon(programIcon());
    enterRuntimeFolder(QCoreApplication::applicationDirPath().toStdString());
    installTeacherFolder(desktopTeacherFolder());

    QtUserFolders folders;
    DesktopRecord record(folders.settingsFolder(), accountUserName());
    DesktopSettingsStore settings(folders.settingsFolder(), folders.teacherFolder());
    installSettingsStore(&settings);
    DesktopClassListStore classList(teacherFolder());
    installClassListStore(&classList);
    QtDrawingServices drawing;
    installDrawingServices(&drawing);
    QtSoundPlayer sound;
    installSoundPlayer(&sound);
    QtHost host(drawing);
    const int exitCode = runProgram(host);
    installSoundPlayer(nullptr);
    installDrawingServices(nullptr);
    installClassListStore(nullptr);
    installSettingsStore(nullptr);
    return exitCode;
}
