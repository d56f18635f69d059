// The settings store of the desktop backends (Qt and Win32): the settings text in a
// file, found by the rules of SettingsLocation.h and rewritten by rewriteFile.
#pragma once

#include <cstddef>
#include <filesystem>

#include "platform/SettingsStore.h"
#include "platform/desktop/SettingsLocation.h"

// The most of a settings file that is read: far more than any settings file holds, and
// little enough that a huge file cannot fill the memory.
inline constexpr std::size_t largestSettingsRead = 64 * 1024;

class DesktopSettingsStore : public SettingsStore {
public:
    // perUserFolder: the platform's folder for the pupil's own files (empty: none).
    // teacherFolder: the platform's folder for the teacher's file (empty: none).
    explicit DesktopSettingsStore(std::filesystem::path perUserFolder,
                                  std::filesystem::path teacherFolder = {});

    // Only a regular file is read, opened without waiting, and only its first
    // largestSettingsRead bytes: a FIFO or a device under the name gives nothing.
    std::optional<std::string> read() override;
    // A failed save is one line on standard error; the screen stays silent.
    bool write(const std::string& text) override;
    // The first teacher's file of teacherFilePlaces that is a regular file, read as
    // the settings are.
    std::optional<std::string> readTeacherFile() override;

private:
    std::filesystem::path perUserFolder;
    std::filesystem::path teacherFolder;
};
