// Where a pupil's own files live on Windows: %APPDATA%\Bricketing, the roaming
// application-data folder the shell reports for the signed-in user.
#pragma once

#include "platform/UserFolders.h"

class Win32UserFolders : public UserFolders {
public:
    std::filesystem::path settingsFolder() override;
    std::filesystem::path teacherFolder() override;
};
