// The desktop's teacher folder.
#include "platform/desktop/TeacherFolderRule.h"

#include <system_error>

#include "platform/desktop/SettingsLocation.h"

namespace fs = std::filesystem;

fs::path teacherFolderFor(const fs::path& runtimeFolder, bool installedUnderEtc) {
    const fs::path own = "Data";
    const fs::path share = runtimeFolder.lexically_normal();
    if (!installedUnderEtc || share.filename() != "bricketing" ||
        share.parent_path().filename() != "share") {
        return own;
    }
    const fs::path prefix = share.parent_path().parent_path();
    // /usr's configuration is /etc, beside it; any other prefix has its own etc.
    const fs::path etc = prefix.filename() == "usr" ? prefix.parent_path() / "etc" : prefix / "etc";
    std::error_code error;
    return fs::is_directory(etc / "bricketing", error) ? etc / "bricketing" : own;
}

fs::path desktopTeacherFolder() {
#ifdef _WIN32
    return "Data";
#else
    std::error_code error;
    const bool installed = fs::exists(installedMarkerPath, error);
    const fs::path here = fs::current_path(error);
    return error ? fs::path("Data") : teacherFolderFor(here, installed);
#endif
}
