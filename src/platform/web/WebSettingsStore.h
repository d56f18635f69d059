// Keeps the settings file in the browser's storage between visits. The program reads
// and writes its settings file as on the desktop, in the page's in-memory file system;
// this copies the stored text into the files before the program starts and copies a
// rewritten file back into storage after the Settings dialog has closed. A store that
// refuses the text keeps what it had. Plain C++ over a small storage interface, so it
// is tested without a browser.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class SettingsStorage {
public:
    virtual ~SettingsStorage() = default;
    virtual std::optional<std::string> read() = 0;
    // True when the text is stored; false leaves the stored text as it was.
    virtual bool write(const std::string& text) = 0;
};

class WebSettingsStore {
public:
    // files: every path the program may read or write its settings under, most
    // preferred first (the per-user file, then the one in Data/).
    WebSettingsStore(SettingsStorage& storage, std::vector<std::filesystem::path> files);

    // Makes the files' folders and puts the stored text, if any, into every file.
    void restore();
    // Stores the settings file the program rewrote since the last look, if any. True
    // when storage now holds what the program last wrote.
    bool keepChanges();

private:
    std::optional<std::string> fileText(const std::filesystem::path& path) const;

    SettingsStorage& storage;
    std::vector<std::filesystem::path> files;
    std::vector<std::optional<std::string>> lastSeen;  // per file, as last read or written
};
