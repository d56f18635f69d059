// The per-user folder of the page: a folder of its in-memory file system whose settings
// file WebSettingsStore mirrors into the browser's storage.
#pragma once

#include "platform/UserFolders.h"

class WebUserFolders : public UserFolders {
public:
    std::filesystem::path settingsFolder() override { return "/home/web_user/.config/bricketing"; }
};
