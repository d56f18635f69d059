// The settings text to and from the browser's storage.
#include "platform/web/WebSettingsStore.h"

std::optional<std::string> WebSettingsStore::read() {
    std::optional<std::string> text = storage.read();
    if (text && text->size() > largestStoredSettings) {
        return std::nullopt;
    }
    return text;
}

bool WebSettingsStore::write(const std::string& text) {
    return storage.write(text);
}

std::optional<std::string> WebSettingsStore::readTeacherFile() {
    std::optional<std::string> text = storage.readTeacherFile();
    if (text && text->size() > largestTeacherFile) {
        text->resize(largestTeacherFile);
    }
    return text;
}
