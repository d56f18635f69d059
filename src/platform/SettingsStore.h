// Where the pupil's settings text is kept between runs is the platform's business: a
// file beside the program or in the pupil's own folder on the desktop, the browser's
// storage on the web. The settings code reads and writes the text through this one
// service and knows nothing of files; each backend installs its store before the
// lesson panel is made, and the tests install a fake.
#pragma once

#include <optional>
#include <string>

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The kept settings text; nothing when none is kept or it cannot be read.
    virtual std::optional<std::string> read() = 0;
    // Keeps text (LF line ends) as the whole of the settings; true when it is kept.
    // False leaves what was kept before as it was.
    virtual bool write(const std::string& text) = 0;
    // The teacher's file (teacher.txt), kept where pupils cannot change it; nothing when
    // there is none. A store that knows no such place has none.
    virtual std::optional<std::string> readTeacherFile() { return std::nullopt; }
};

// The pointer is not owned; null (the default) means the settings are not kept.
void installSettingsStore(SettingsStore* store);
SettingsStore* settingsStore();
