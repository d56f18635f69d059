// The class list on the web: the names a teacher entered in the page's teacher view
// (kept in the browser's local storage) or else a class.txt that the school's server
// puts beside the site. The page looks for both while the program starts; the first
// read waits until it knows.
#pragma once

#include <cstddef>

#include "platform/ClassListStore.h"

// Far more than a class's names, as on the desktop.
inline constexpr std::size_t largestWebClassList = 64 * 1024;

class WebClassListStore : public ClassListStore {
public:
    std::optional<std::string> read() override;
    // Tells the page the pupil and the name their settings are stored under.
    void pupilChosen(const std::u16string& name) override;
};
