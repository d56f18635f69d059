// The program's run, and where it finds its run-time files.
#include "app/Program.h"

#include <system_error>
#include <vector>

#include "app/Application.h"

namespace {
bool holdsRuntimeFolders(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder / "Data", error) &&
           std::filesystem::is_directory(folder / "Resources", error);
}
}  // namespace

int runProgram(Host& host) {
    Application application(host);
    application.createMainWindow();
    return application.runFrameLoop();
}

bool enterRuntimeFolder(const std::filesystem::path& programFolder) {
    std::error_code error;
    if (holdsRuntimeFolders(std::filesystem::current_path(error))) {
        return true;
    }
    const std::vector<std::filesystem::path> candidates = {
        programFolder,
        programFolder.parent_path(),
        programFolder.parent_path() / "share" / "bricketing",
    };
    for (const auto& candidate : candidates) {
        if (holdsRuntimeFolders(candidate)) {
            std::filesystem::current_path(candidate, error);
            return !error;
        }
    }
    return false;
}
