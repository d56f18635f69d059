// The class list from the page, and the chosen pupil back to it.
#include "platform/web/WebClassListStore.h"

#include <cstring>

#include "platform/Pupil.h"
#include "platform/web/WebBridge.h"

std::optional<std::string> WebClassListStore::read() {
    std::string text(largestWebClassList + 1, '\0');
    if (web_read_class_list(text.data(), static_cast<int>(text.size())) < 0) {
        return std::nullopt;
    }
    // A longer list is cut before the character that would not fit, like the
    // desktop's read of a file's start.
    text.resize(std::strlen(text.c_str()));
    return text;
}

void WebClassListStore::pupilChosen(const std::u16string& name) {
    const std::string fileName = pupilFileName(name);
    web_set_pupil(name.data(), static_cast<int>(name.size()), fileName.c_str());
}
