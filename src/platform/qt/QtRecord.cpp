// The account's name from the password database, and the report opened with
// xdg-open (or the desktop services elsewhere), as Help is.
#include "platform/qt/QtRecord.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/desktop/DesktopRecordStore.h"
#include "platform/desktop/DesktopReport.h"

#if defined(Q_OS_UNIX)
#include <pwd.h>
#include <unistd.h>
#endif

std::string accountUserName() {
#if defined(Q_OS_UNIX)
    if (const passwd* account = getpwuid(geteuid()); account != nullptr && account->pw_name) {
        return account->pw_name;
    }
#endif
    for (const char* name : {"USER", "LOGNAME", "USERNAME"}) {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

bool asksForReport(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--report") {
            return true;
        }
    }
    return false;
}

int runReport(const std::filesystem::path& perUserFolder) {
    std::vector<std::filesystem::path> arguments;
    const QStringList given = QCoreApplication::arguments();
    for (qsizetype i = 1; i < given.size(); ++i) {
        arguments.emplace_back(given[i].toStdU16String());
    }
    const std::vector<std::filesystem::path> folders =
        reportFolders(arguments).value_or(std::vector<std::filesystem::path>{});
    const std::optional<std::filesystem::path> page =
        writeReportPage(DesktopRecordStore::folderBesideSettings(perUserFolder), folders);
    if (!page) {
        return 1;
    }
    const QString path = QString::fromStdU16String(page->u16string());
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QProcess opener;
    opener.setProgram(QStringLiteral("xdg-open"));
    opener.setArguments({path});
    opener.setStandardInputFile(QProcess::nullDevice());
    opener.setStandardOutputFile(QProcess::nullDevice());
    opener.setStandardErrorFile(QProcess::nullDevice());
    opener.startDetached();
#else
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
    return 0;
}
