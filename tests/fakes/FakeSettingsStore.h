// A settings store in memory, installed for its lifetime: what was last written, how
// often, a switch that makes it refuse writes as a full disk would, and a teacher's file.
#pragma once

#include <optional>
#include <string>

#include "platform/SettingsStore.h"

class FakeSettingsStore : public SettingsStore {
public:
    explicit FakeSettingsStore(std::optional<std::string> kept = std::nullopt)
        : text(std::move(kept)) {
        installSettingsStore(this);
    }
    ~FakeSettingsStore() override { installSettingsStore(nullptr); }
    FakeSettingsStore(const FakeSettingsStore&) = delete;
    FakeSettingsStore& operator=(const FakeSettingsStore&) = delete;

    std::optional<std::string> read() override { return text; }
    std::optional<std::string> readTeacherFile() override { return teacherText; }
    bool write(const std::string& written) override {
        ++writes;
        if (refuse) {
            return false;
        }
        text = written;
        return true;
    }

    std::optional<std::string> text;
    std::optional<std::string> teacherText;  // the teacher's file; none by default
    bool refuse = false;
    int writes = 0;
};
