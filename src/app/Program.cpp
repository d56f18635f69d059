// The program's run, and where it finds its run-time files.
#include "app/Program.h"

#include <system_error>
#include <vector>

#include "app/Application.h"
#include "platform/ProblemReport.h"
#include "words/Words.h"

namespace {
bool holdsRuntimeFolders(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder / "Data", error) &&
           std::filesystem::is_directory(folder / "Resources", error);
}

// True when the working directory holds none of Data, Resources and Help: the program
// was started on its own, as Explorer starts it when it is opened inside its zip file.
bool runtimeFoldersMissing() {
    std::error_code error;
    for (const char* folder : {"Data", "Resources", "Help"}) {
        if (std::filesystem::is_directory(folder, error)) {
            return false;
        }
    }
    return true;
}

std::u16string runtimeFoldersMissingMessage() {
    return tr(
        "Bricketing cannot find its Data, Resources and Help folders, so its buttons, "
        "pictures, levels and help are missing.\n\n"
        "If you opened Bricketing from inside its zip file, extract the whole zip file "
        "first, then start Bricketing from the folder it makes.");
}
}  // namespace

int runProgram(Host& host) {
    Application application(host);
    application.createMainWindow();
    // Once, over the first frame: the program then goes on without its files, as it
    // would with any one of them missing.
    if (runtimeFoldersMissing()) {
        reportProblem(
            "none of the folders Data, Resources and Help is in the working folder or beside "
            "the program; it runs without its pictures, levels and help");
        application.startUpError = runtimeFoldersMissingMessage();
    }
    return application.runFrameLoop();
}

bool enterRuntimeFolder(const std::filesystem::path& programFolder) {
    std::error_code error;
    // An installed program uses its own files, whatever folder it is started from: a
    // pupil's folder that happens to hold a Data or Resources folder (a copy of another
    // version, say) must not give it other pictures and levels.
    const std::filesystem::path installed = programFolder.parent_path() / "share" / "bricketing";
    if (holdsRuntimeFolders(installed) &&
        std::filesystem::exists(installed / "Data" / "installed.txt", error)) {
        std::filesystem::current_path(installed, error);
        return !error;
    }
    if (holdsRuntimeFolders(std::filesystem::current_path(error))) {
        return true;
    }
    const std::vector<std::filesystem::path> candidates = {
        programFolder,
        programFolder.parent_path(),
        installed,
    };
    for (const auto& candidate : candidates) {
        if (holdsRuntimeFolders(candidate)) {
            std::filesystem::current_path(candidate, error);
            return !error;
        }
    }
    return false;
}
