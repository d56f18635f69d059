// Reading and writing the settings file where the location rules say.
#include "platform/desktop/DesktopSettingsStore.h"

#include <system_error>

#include "platform/ProblemReport.h"
#include "platform/TeacherFolder.h"
#include "platform/desktop/FileRewrite.h"
#include "platform/desktop/NativeFile.h"

namespace fs = std::filesystem;

namespace {

// The path as UTF-8 text for the report, whatever the system's code page.
std::string shownPath(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

bool writeTo(const fs::path& file, const std::string& text) {
    if (file.empty()) {
        return false;
    }
    if (file.has_parent_path()) {
        std::error_code error;
        fs::create_directories(file.parent_path(), error);
        if (error) {
            return false;
        }
    }
    return rewriteFile(file, text);
}

}  // namespace

DesktopSettingsStore::DesktopSettingsStore(fs::path perUserFolder, fs::path teacherFolder)
    : perUserFolder(std::move(perUserFolder)), teacherFolder(std::move(teacherFolder)) {}

std::optional<std::string> DesktopSettingsStore::readTeacherFile() {
    for (const fs::path& place : teacherFilePlaces(teacherFolder)) {
        const NativeFile file = openToRead(place);
        if (isRegularFile(file)) {
            return readUpTo(file, largestSettingsRead);
        }
    }
    return std::nullopt;
}

std::optional<std::string> DesktopSettingsStore::read() {
    const SettingsPlaces places = findSettingsPlaces(perUserFolder);
    const SettingsFiles files = settingsFilesFor(places);
    for (const fs::path& candidate : {files.toRead, places.classFile}) {
        if (candidate.empty()) {
            continue;
        }
        const NativeFile file = openToRead(candidate);
        if (isRegularFile(file)) {
            return readUpTo(file, largestSettingsRead);
        }
    }
    return std::nullopt;
}

bool DesktopSettingsStore::write(const std::string& text) {
    const SettingsFiles files = settingsFilesFor(findSettingsPlaces(perUserFolder));
    if (writeTo(files.toWrite, text)) {
        return true;
    }
    if (files.toWrite.empty()) {
        reportProblem("the settings cannot be saved: " + shownPath(teacherFile("settings.txt")) +
                      " cannot be written and there is no per-user folder; the new settings "
                      "apply until the program ends");
    } else {
        reportProblem("the settings cannot be saved to " + shownPath(files.toWrite) +
                      "; the new settings apply until the program ends");
    }
    return false;
}
