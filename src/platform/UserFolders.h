// Where the platform keeps a user's own files for the program. A desktop backend asks
// it once, at start-up, for the folder its settings store falls back on.
#pragma once

#include <filesystem>

class UserFolders {
public:
    virtual ~UserFolders() = default;
    // The folder for the pupil's own settings file: $XDG_CONFIG_HOME/bricketing
    // (~/.config/bricketing when unset) on Linux, %APPDATA%\Bricketing on Windows.
    // Empty when the platform cannot say. The folder need not exist yet.
    virtual std::filesystem::path settingsFolder() = 0;
    // The folder a teacher or administrator edits for every user of the machine, which
    // pupils cannot write: /etc/bricketing on Linux, %ProgramData%\Bricketing on
    // Windows. Empty when the platform has none.
    virtual std::filesystem::path teacherFolder() { return {}; }
};
