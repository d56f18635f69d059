// The installed class list store.
#include "platform/ClassListStore.h"

namespace {
ClassListStore* installedStore = nullptr;
}

void installClassListStore(ClassListStore* store) {
    installedStore = store;
}

ClassListStore* classListStore() {
    return installedStore;
}
