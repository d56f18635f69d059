// The installed teacher folder.
#include "platform/TeacherFolder.h"

#include <utility>

namespace {
std::filesystem::path& installedFolder() {
    static std::filesystem::path folder = "Data";
    return folder;
}
}  // namespace

void installTeacherFolder(std::filesystem::path folder) {
    installedFolder() = std::move(folder);
}

const std::filesystem::path& teacherFolder() {
    return installedFolder();
}

std::filesystem::path teacherFile(std::string_view name) {
    return installedFolder() / std::filesystem::path(name);
}
