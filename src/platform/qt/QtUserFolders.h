// The per-user folders on Linux and other systems that follow the XDG base directory
// rules: the pupil's settings go to $XDG_CONFIG_HOME/bricketing.
#pragma once

#include "platform/UserFolders.h"

class QtUserFolders : public UserFolders {
public:
    // $XDG_CONFIG_HOME/bricketing when that is set to an absolute path, else
    // $HOME/.config/bricketing; empty when neither says where the home folder is.
    std::filesystem::path settingsFolder() override;
    std::filesystem::path teacherFolder() override;
};
