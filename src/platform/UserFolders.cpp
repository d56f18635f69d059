// The installed per-user folders.
#include "platform/UserFolders.h"

namespace {
UserFolders* installedFolders = nullptr;
}

void installUserFolders(UserFolders* folders) {
    installedFolders = folders;
}

UserFolders* userFolders() {
    return installedFolders;
}
