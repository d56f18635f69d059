// Where the platform keeps a user's own files for the program. The settings code asks
// this once to find the pupil's per-user settings file, so it stays platform-free; each
// backend installs its own answer and the tests install a fake.
#pragma once

#include <filesystem>

class UserFolders {
public:
    virtual ~UserFolders() = default;
    // The folder for the pupil's own settings file: $XDG_CONFIG_HOME/bricketing
    // (~/.config/bricketing when unset) on Linux, %APPDATA%\Bricketing on Windows.
    // Empty when the platform cannot say. The folder need not exist yet.
    virtual std::filesystem::path settingsFolder() = 0;
};

// The backend (or a test) installs its folders before the lesson panel is made. The
// pointer is not owned; null (the default) means there is no per-user folder.
void installUserFolders(UserFolders* folders);
UserFolders* userFolders();
