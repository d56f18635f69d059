// The choice between the program's settings file and the pupil's own one.
#include "lesson/SettingsLocation.h"

#include <system_error>

#include "platform/UserFolders.h"

namespace fs = std::filesystem;

namespace {

bool hasPerUserFile(const SettingsPlaces& places) {
    std::error_code error;
    return !places.perUserFile.empty() && fs::is_regular_file(places.perUserFile, error);
}

bool writePerUserFile(const UserSettings& settings, const SettingsPlaces& places) {
    if (places.perUserFile.empty()) {
        return false;
    }
    std::error_code error;
    fs::create_directories(places.perUserFile.parent_path(), error);
    if (error) {
        return false;
    }
    return writeSettingsFile(settings, places.perUserFile.string());
}

}  // namespace

SettingsPlaces findSettingsPlaces() {
    SettingsPlaces places;
    places.programFile = settingsFilePath;
    std::error_code error;
    places.installed = fs::exists(installedMarkerPath, error);
    if (UserFolders* folders = userFolders()) {
        const fs::path folder = folders->settingsFolder();
        if (!folder.empty()) {
            places.perUserFile = folder / perUserFileName;
        }
    }
    return places;
}

fs::path settingsFileToRead(const SettingsPlaces& places) {
    return hasPerUserFile(places) ? places.perUserFile : places.programFile;
}

bool saveSettings(const UserSettings& settings, const SettingsPlaces& places) {
    if (places.installed || hasPerUserFile(places)) {
        return writePerUserFile(settings, places);
    }
    return writeSettingsFile(settings, places.programFile.string()) ||
           writePerUserFile(settings, places);
}
