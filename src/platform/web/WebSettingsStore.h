// The web's settings store: the settings text kept in the browser's storage between
// visits. Plain C++ over a small storage interface, so it is tested without a browser.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/SettingsStore.h"

// More than any settings text holds; a longer stored text is not the program's.
inline constexpr std::size_t largestStoredSettings = 4096;
// The most of a teacher's file that is read.
inline constexpr std::size_t largestTeacherFile = 64 * 1024;

// Over the page's storage under the settings key (any other store in the tests), the
// limits on what is read from it.
class WebSettingsStore : public SettingsStore {
public:
    explicit WebSettingsStore(SettingsStore& storage) : storage(storage) {}

    std::optional<std::string> read() override;
    // Every confirmed save is stored, also one equal to what was read: another tab may
    // have stored other settings since.
    bool write(const std::string& text) override;
    // Cut at the same size as a desktop teacher's file: a larger one is not the program's.
    std::optional<std::string> readTeacherFile() override;

private:
    SettingsStore& storage;
};
