// The XDG configuration folder, read from the environment as the base directory rules
// say: a relative XDG_CONFIG_HOME is ignored.
#include "platform/qt/QtUserFolders.h"

#include <cstdlib>

namespace {
constexpr const char* programFolderName = "bricketing";

std::filesystem::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::filesystem::path() : std::filesystem::path(value);
}
}  // namespace

std::filesystem::path QtUserFolders::settingsFolder() {
    const std::filesystem::path configHome = environmentPath("XDG_CONFIG_HOME");
    if (configHome.is_absolute()) {
        return configHome / programFolderName;
    }
    const std::filesystem::path home = environmentPath("HOME");
    if (home.is_absolute()) {
        return home / ".config" / programFolderName;
    }
    return {};
}

// Installed copies and packages keep what the teacher edits under /etc, which the
// package manager leaves alone on upgrades.
std::filesystem::path QtUserFolders::teacherFolder() {
    return "/etc/bricketing";
}
