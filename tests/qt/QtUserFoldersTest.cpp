// The Linux per-user folder: $XDG_CONFIG_HOME/bricketing when that is an absolute path,
// else ~/.config/bricketing, and nothing when the environment names no home at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/qt/QtUserFolders.h"

namespace {

// Sets (or, with nothing, removes) one environment variable for its lifetime.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::optional<std::string>& value) : name(name) {
        if (const char* old = std::getenv(name)) {
            previous = old;
        }
        set(value);
    }
    ~EnvironmentVariable() { set(previous); }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    const char* name;
    std::optional<std::string> previous;
};

struct Case {
    std::optional<std::string> configHome;
    std::optional<std::string> home;
    std::string expected;
};

TEST(QtUserFolders, FollowTheBaseDirectoryRules) {
    const Case cases[] = {
        {"/srv/pupils/ann/config", "/home/ann", "/srv/pupils/ann/config/bricketing"},
        {std::nullopt, "/home/ann", "/home/ann/.config/bricketing"},
        {"", "/home/ann", "/home/ann/.config/bricketing"},
        {"relative/config", "/home/ann", "/home/ann/.config/bricketing"},
        {"/etc/xdg-ann", std::nullopt, "/etc/xdg-ann/bricketing"},
        {std::nullopt, std::nullopt, ""},
        {std::nullopt, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("XDG_CONFIG_HOME=" + c.configHome.value_or("(unset)") +
                     " HOME=" + c.home.value_or("(unset)"));
        const EnvironmentVariable configHome("XDG_CONFIG_HOME", c.configHome);
        const EnvironmentVariable home("HOME", c.home);
        QtUserFolders folders;
        EXPECT_EQ(folders.settingsFolder().string(), c.expected);
    }
}

}  // namespace
