// Where the pupil's settings are kept: the program's own Data/settings.txt, or the
// pupil's own file in the per-user folder the platform names. The choice is made here,
// free of any platform, from the folders the platform layer reports.
#pragma once

#include <filesystem>

#include "lesson/SettingsFile.h"

// An installer puts this file in the run-time folder; its presence, not whether the
// installed files happen to be writable, makes the running program an installed copy.
inline constexpr const char* installedMarkerPath = "Data/installed.txt";

// The pupil's own settings file inside the per-user folder.
inline constexpr const char* perUserFileName = "settings.txt";

struct SettingsPlaces {
    std::filesystem::path programFile;  // Data/settings.txt, the shipped defaults
    std::filesystem::path perUserFile;  // empty when the platform names no per-user folder
    bool installed = false;             // the marker was found
};

// The places for this run: the program's file and the marker relative to the working
// directory (the run-time folder), the per-user file in the folder of the installed
// UserFolders.
SettingsPlaces findSettingsPlaces();

// What start-up reads: the per-user file when there is one, else the program's file.
std::filesystem::path settingsFileToRead(const SettingsPlaces& places);

// Writes the settings where the next start-up will read them. An installed copy always
// writes the per-user file (making its folders); its Data/settings.txt holds only the
// defaults and is never written. A portable copy writes Data/settings.txt, or the
// per-user file when that cannot be written or when a per-user file already exists
// (start-up would read that one). False when the settings could not be written; the
// files are then as they were.
bool saveSettings(const UserSettings& settings, const SettingsPlaces& places);
