// Reading class.txt.
#include "platform/desktop/DesktopClassListStore.h"

#include "platform/desktop/NativeFile.h"

DesktopClassListStore::DesktopClassListStore(std::filesystem::path teacherFolder)
    : file(std::move(teacherFolder) / "class.txt") {}

std::optional<std::string> DesktopClassListStore::read() {
    const NativeFile opened = openToRead(file);
    if (!isRegularFile(opened)) {
        return std::nullopt;
    }
    return readUpTo(opened, largestClassListRead);
}
