// The installed settings store.
#include "platform/SettingsStore.h"

namespace {
SettingsStore* installedStore = nullptr;
}

void installSettingsStore(SettingsStore* store) {
    installedStore = store;
}

SettingsStore* settingsStore() {
    return installedStore;
}
