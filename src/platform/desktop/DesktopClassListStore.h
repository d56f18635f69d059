// The class list on the desktop: class.txt in the folder a teacher edits (the copy's
// Data/, or the teacher's configuration folder of an installed copy).
#pragma once

#include <cstddef>
#include <filesystem>

#include "platform/ClassListStore.h"

// Far more than a class's names, and little enough that a huge file costs nothing.
inline constexpr std::size_t largestClassListRead = 64 * 1024;

class DesktopClassListStore : public ClassListStore {
public:
    explicit DesktopClassListStore(std::filesystem::path teacherFolder);
    // Only a regular file, opened without waiting, and only its start.
    std::optional<std::string> read() override;

private:
    std::filesystem::path file;
};
