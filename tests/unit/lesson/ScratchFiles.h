// Helpers for the lesson tests that work on real files: a fresh folder per test, a
// scratch working directory, reading a file whole, and running a step as a user
// without special rights so that permissions apply also when the tests run as root.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace scratch {

namespace fs = std::filesystem;

// The unprivileged account the steps run as when the tests run as root.
constexpr uid_t nobodyUser = 65534;
constexpr gid_t nobodyGroup = 65534;

// A fresh folder of its own, removed afterwards (whatever its permissions by then).
class Folder {
public:
    Folder() {
        std::random_device seed;
        path = fs::temp_directory_path() /
               ("bricketing-lesson-" + std::to_string(seed()) + std::to_string(seed()));
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(path, ignored)) {
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
            }
        }
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    fs::path path;
};

// A scratch folder holding an empty Data folder as the working directory.
class WorkingFolder {
public:
    WorkingFolder() : home(fs::current_path()) {
        fs::current_path(folder.path);
        fs::create_directory("Data");
    }
    ~WorkingFolder() { fs::current_path(home); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;
    fs::path path() const { return folder.path; }

private:
    Folder folder;
    fs::path home;
};

inline std::string contentsOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The names in a folder, sorted.
inline std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline bool runningAsRoot() {
    return geteuid() == 0;
}

// Runs step as a user without special rights: directly when the tests run as one, else
// in a child process that drops to the "nobody" account. The step's result, false when
// the child could not drop its rights.
inline bool asUnprivilegedUser(const std::function<bool()>& step) {
    if (!runningAsRoot()) {
        return step();
    }
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped =
            setgroups(0, nullptr) == 0 && setgid(nobodyGroup) == 0 && setuid(nobodyUser) == 0;
        _exit(dropped && step() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Permissions that let the unprivileged user in: everyone may write when the tests
// run as root, and only the owner (the user itself) otherwise.
inline fs::perms writableByTheUser() {
    return runningAsRoot() ? fs::perms::all : fs::perms::owner_all;
}

inline fs::perms readOnlyFolder() {
    return fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
           fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
}

}  // namespace scratch
