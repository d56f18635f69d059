// The choice between the program's settings file and the pupil's own one.
#include "platform/desktop/SettingsLocation.h"

#include <system_error>

#include "platform/Pupil.h"
#include "platform/TeacherFolder.h"
#include "platform/desktop/NativeFile.h"

namespace fs = std::filesystem;

namespace {

bool hasPerUserFile(const SettingsPlaces& places) {
    std::error_code error;
    return !places.perUserFile.empty() && fs::is_regular_file(places.perUserFile, error);
}

// An existing file the process may write, or a file the folder lets it make. A
// symbolic link is replaced by a save, never written through, so it is the folder that
// counts for it.
bool canWrite(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(file, error);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        return fs::is_regular_file(status) && mayWriteFile(file);
    }
    // A pupil's folder is made at their first save: what counts is the nearest folder
    // that is already there.
    fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    while (!fs::exists(folder, error) && folder.has_parent_path() &&
           folder != folder.parent_path()) {
        folder = folder.parent_path();
    }
    return fs::is_directory(folder, error) && mayCreateIn(folder);
}

SettingsFiles perUserRule(const SettingsPlaces& places) {
    return {hasPerUserFile(places) ? places.perUserFile : places.programFile, places.perUserFile};
}

}  // namespace

SettingsPlaces findSettingsPlaces(const fs::path& perUserFolder) {
    SettingsPlaces places;
    places.programFile = teacherFile("settings.txt");
    std::error_code error;
    places.installed = fs::exists(installedMarkerPath, error);
    if (!perUserFolder.empty()) {
        places.perUserFile = perUserFolder / perUserFileName;
    }
    if (!currentPupil().empty()) {
        const std::string name = pupilFileName(currentPupil());
        const fs::path pupilFolder =
            fs::path(pupilsFolderName) / fs::path(std::u8string(name.begin(), name.end()));
        places.classFile = places.programFile;
        places.programFile = places.programFile.parent_path() / pupilFolder / perUserFileName;
        if (!perUserFolder.empty()) {
            places.perUserFile = perUserFolder / pupilFolder / perUserFileName;
        }
    }
    return places;
}

SettingsFiles settingsFilesFor(const SettingsPlaces& places) {
    if (!places.installed && canWrite(places.programFile)) {
        return {places.programFile, places.programFile};
    }
    return perUserRule(places);
}

std::vector<fs::path> teacherFilePlaces(const fs::path& teacherFolder) {
    std::vector<fs::path> places{programTeacherPath};
    if (!teacherFolder.empty()) {
        places.push_back(teacherFolder / teacherFileName);
    }
    return places;
}
