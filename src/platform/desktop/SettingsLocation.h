// Where the pupil's settings are kept on the desktop: the program's own
// Data/settings.txt, or the pupil's own file in the per-user folder the platform names.
#pragma once

#include <filesystem>
#include <vector>

// The program's own settings file in a portable copy, relative to its run-time folder.
// The settings every pupil starts with are settings.txt in the teacher folder
// (platform/TeacherFolder.h): this file, or /etc/bricketing/settings.txt installed.
inline constexpr const char* programSettingsPath = "Data/settings.txt";

// An installer puts this file in the run-time folder; its presence, not whether the
// installed files happen to be writable, makes the running program an installed copy.
inline constexpr const char* installedMarkerPath = "Data/installed.txt";

// The pupil's own settings file inside the per-user folder.
inline constexpr const char* perUserFileName = "settings.txt";

// A pupil named from a class list has a folder of their own under these, in Data/ and
// in the per-user folder, holding their settings and practice record.
inline constexpr const char* pupilsFolderName = "pupils";

struct SettingsPlaces {
    std::filesystem::path programFile;  // settings.txt in the teacher folder: the defaults
    std::filesystem::path perUserFile;  // empty when the platform names no per-user folder
    bool installed = false;             // the marker was found
    // For a named pupil, the class's Data/settings.txt: read until the pupil's own file
    // exists, so a new pupil starts from the settings the teacher prepared.
    std::filesystem::path classFile;
};

// The places for this run: the program's file and the marker relative to the working
// directory (the run-time folder), the per-user file in perUserFolder (empty: none).
// With a pupil named (platform/Pupil.h) both files are in that pupil's own folder.
SettingsPlaces findSettingsPlaces(const std::filesystem::path& perUserFolder);

// The one file that both start-up reads and a save writes, so that what is saved is
// what the next start reads. An installed copy keeps the pupil's settings in the
// per-user file; its Data/settings.txt holds only the defaults, read until the pupil
// has saved. A portable copy keeps them in its own Data/settings.txt while that can be
// written (a teacher's prepared settings apply whatever an installed copy saved);
// only when it cannot does it use the per-user file too.
struct SettingsFiles {
    std::filesystem::path toRead;
    std::filesystem::path toWrite;  // empty when the settings cannot be kept anywhere
};
SettingsFiles settingsFilesFor(const SettingsPlaces& places);

// The teacher's file: Data/teacher.txt beside the program (a portable copy, or the
// Windows install folder, which only administrators write), else teacher.txt in the
// folder the platform keeps for the teacher (teacherFolder, empty: none). The first
// that exists is read.
inline constexpr const char* programTeacherPath = "Data/teacher.txt";
inline constexpr const char* teacherFileName = "teacher.txt";
std::vector<std::filesystem::path> teacherFilePlaces(const std::filesystem::path& teacherFolder);
