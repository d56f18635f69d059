// Writing the settings file through the desktop's rewrite: every combination reads
// back, the exact bytes, links, missing folders, folders in the way, and on POSIX the
// permissions and creation mask a new file keeps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "lesson/SettingsFile.h"
#include "platform/desktop/FileRewrite.h"
#include "unit/lesson/ScratchFiles.h"

namespace {

namespace fs = std::filesystem;
using scratch::asWritten;
using scratch::contentsOf;

bool writeSettingsFile(const UserSettings& settings, const fs::path& path) {
    return rewriteFile(path, formatSettings(settings));
}

std::string describe(const UserSettings& s) {
    return std::string(s.displayLotsOf ? "lots of" : "x") + (s.autoProduct ? ", product" : "") +
           (s.autoRemainder ? ", remainder" : "") + ", difficulty " + std::to_string(s.difficulty);
}

void expectSettings(const UserSettings& actual, const UserSettings& expected) {
    EXPECT_EQ(describe(actual), describe(expected));
}

UserSettings opposite(const UserSettings& s) {
    return {!s.displayLotsOf, !s.autoProduct, !s.autoRemainder, s.difficulty == 3 ? 1 : 3};
}

const std::string expertTimesAllOn = formatSettings({false, true, true, 4});

TEST(SettingsFileWriting, EveryCombinationReadsBackTheSame) {
    scratch::Folder scratch;
    const fs::path path = scratch.path / "settings.txt";
    for (int bits = 0; bits < 8; ++bits) {
        for (int difficulty = 0; difficulty < 5; ++difficulty) {
            const UserSettings written = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0,
                                          difficulty};
            SCOPED_TRACE(describe(written));
            ASSERT_TRUE(writeSettingsFile(written, path));
            std::ifstream file(path);
            expectSettings(readSettings(file, opposite(written)), written);
        }
    }
}

TEST(SettingsFileWriting, WritesExactlyTheFormattedBytesAndNoTemporary) {
    scratch::Folder scratch;
    const fs::path path = scratch.path / "settings.txt";
    std::ofstream(path) << std::string(2000, '#');  // longer than the new contents
    ASSERT_TRUE(writeSettingsFile({false, true, true, 4}, path));
    EXPECT_EQ(contentsOf(path), asWritten(expertTimesAllOn));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(scratch.path)) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

// A save never writes through a symbolic link: on a shared copy the file it names may be
// someone else's. The link is replaced by the saved file and its target left as it was.
TEST(SettingsFileWriting, ALinkIsReplacedByTheFileAndItsTargetIsLeftAlone) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need rights a pupil's account does not have";
#endif
    scratch::Folder scratch;
    fs::create_directories(scratch.path / "shared");
    fs::create_directories(scratch.path / "Data");
    const fs::path real = scratch.path / "shared" / "settings.txt";
    const fs::path link = scratch.path / "Data" / "settings.txt";
    std::ofstream(real) << "DIFFICULTY:NOVICE";
    fs::create_symlink(real, link);

    ASSERT_TRUE(writeSettingsFile({false, true, true, 4}, link));
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(contentsOf(real), "DIFFICULTY:NOVICE");
    EXPECT_EQ(contentsOf(link), asWritten(expertTimesAllOn));
}

TEST(SettingsFileWriting, FailsWhenTheFolderIsMissing) {
    scratch::Folder scratch;
    const fs::path path = scratch.path / "missing" / "settings.txt";
    EXPECT_FALSE(writeSettingsFile(UserSettings{}, path));
    EXPECT_FALSE(fs::exists(path.parent_path()));
}

TEST(SettingsFileWriting, FailsWhenTheTargetIsAFolderAndLeavesEverythingAsItWas) {
    scratch::Folder scratch;
    const fs::path path = scratch.path / "settings.txt";
    fs::create_directory(path);
    std::ofstream(path / "inside.txt", std::ios::binary) << "old contents\r\n";
    EXPECT_FALSE(writeSettingsFile(UserSettings{}, path));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(contentsOf(path / "inside.txt"), "old contents\r\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(scratch.path)) {
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "the temporary file must be removed";
}

// POSIX permissions, users and creation masks; Windows has none of them.
#ifndef _WIN32
// Whether a write fails for a user without special rights, so that permissions apply
// to it even when the tests run as root.
bool writeFailsWithoutPrivileges(const fs::path& path) {
    return scratch::asUnprivilegedUser([&] { return !writeSettingsFile(UserSettings{}, path); });
}

TEST(SettingsFileWriting, LeavesAFileItMayNotWriteAsItWas) {
    scratch::Folder scratch;
    const fs::path path = scratch.path / "settings.txt";
    const std::string old = "DISPLAY:TIMES\r\nDIFFICULTY:NOVICE";
    std::ofstream(path, std::ios::binary) << old;
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(path, readOnly);
    // The folder itself may be written, so only the file's own permission stops it.
    fs::permissions(scratch.path, fs::perms::all);
    EXPECT_TRUE(writeFailsWithoutPrivileges(path));
    EXPECT_EQ(contentsOf(path), old);
    EXPECT_EQ(fs::status(path).permissions(), readOnly);
}

// Sets the process's file creation mask for the length of a test.
class CreationMask {
public:
    explicit CreationMask(mode_t mask) : previous(umask(mask)) {}
    ~CreationMask() { umask(previous); }
    CreationMask(const CreationMask&) = delete;
    CreationMask& operator=(const CreationMask&) = delete;

private:
    mode_t previous;
};

TEST(SettingsFileWriting, TheNewFileKeepsTheOldOnesPermissions) {
    scratch::Folder scratch;
    const CreationMask mask(022);
    const fs::path path = scratch.path / "settings.txt";
    std::ofstream(path) << "DIFFICULTY:NOVICE";
    // Shared by a group that may change it, hidden from everyone else.
    const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write |
                             fs::perms::group_read | fs::perms::group_write;
    fs::permissions(path, shared);
    ASSERT_TRUE(writeSettingsFile({false, true, true, 4}, path));
    EXPECT_EQ(contentsOf(path), expertTimesAllOn);
    EXPECT_EQ(fs::status(path).permissions(), shared);

    // A file written for the first time gets the usual permissions.
    const fs::path fresh = scratch.path / "fresh.txt";
    ASSERT_TRUE(writeSettingsFile(UserSettings{}, fresh));
    EXPECT_EQ(fs::status(fresh).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                   fs::perms::group_read | fs::perms::others_read);
}

#endif  // _WIN32

}  // namespace
