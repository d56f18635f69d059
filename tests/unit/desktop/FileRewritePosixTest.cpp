// Rewriting the settings file where it lies and as what it is, on POSIX: a writable
// file in a read-only folder, links (hard, symbolic, dangling), its owner and group,
// what an interrupted save may leave behind, and a save that waits for another.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "lesson/SettingsFile.h"
#include "platform/desktop/FileRewrite.h"
#include "unit/lesson/ScratchFiles.h"

namespace {

namespace fs = std::filesystem;
using scratch::contentsOf;
using scratch::writeFile;

const UserSettings expert = {false, true, true, 4};
const std::string oldText = "DISPLAY:TIMES\r\nDIFFICULTY:NOVICE";

bool save(const fs::path& path, const UserSettings& settings = expert) {
    return rewriteFile(path, formatSettings(settings));
}

struct FileIdentity {
    uid_t owner = 0;
    gid_t group = 0;
    nlink_t links = 0;
};

FileIdentity identityOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return {status.st_uid, status.st_gid, status.st_nlink};
}

// Where the settings file lies in each case of a writable file in a read-only folder:
// straight in the folder, or behind a link in it to a file in another read-only folder.
struct ReadOnlyFolderCase {
    const char* name;
    bool throughLink;
};

class WritableFileInReadOnlyFolder : public ::testing::TestWithParam<ReadOnlyFolderCase> {};

TEST_P(WritableFileInReadOnlyFolder, IsRewrittenInPlace) {
    scratch::Folder folder;
    const fs::path data = folder.path / "Data";
    const fs::path shared = folder.path / "shared";
    fs::create_directories(data);
    fs::create_directories(shared);
    const fs::path real = (GetParam().throughLink ? shared : data) / "settings.txt";
    const fs::path named = data / "settings.txt";
    writeFile(real, oldText);
    if (GetParam().throughLink) {
        fs::create_symlink(real, named);
    }
    fs::permissions(real, scratch::writableByTheUser() & ~fs::perms::others_exec &
                              ~fs::perms::group_exec & ~fs::perms::owner_exec);
    fs::permissions(data, scratch::readOnlyFolder());
    fs::permissions(shared, scratch::readOnlyFolder());

    // A link is never written through, and a read-only folder cannot have it replaced.
    EXPECT_EQ(scratch::asUnprivilegedUser([&] { return save(named); }), !GetParam().throughLink);
    EXPECT_EQ(contentsOf(real), GetParam().throughLink ? oldText : formatSettings(expert));
    EXPECT_EQ(fs::is_symlink(named), GetParam().throughLink);
    EXPECT_EQ(scratch::namesIn(shared).size() + scratch::namesIn(data).size(),
              GetParam().throughLink ? 2u : 1u)
        << "nothing else may appear in the folders";
}

INSTANTIATE_TEST_SUITE_P(SettingsFileRewrite, WritableFileInReadOnlyFolder,
                         ::testing::Values(ReadOnlyFolderCase{"plain", false},
                                           ReadOnlyFolderCase{"link", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFileRewrite, AReadOnlyFileInAReadOnlyFolderStillFails) {
    scratch::Folder folder;
    const fs::path path = folder.path / "settings.txt";
    writeFile(path, oldText);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder.path, scratch::readOnlyFolder());
    EXPECT_FALSE(scratch::asUnprivilegedUser([&] { return save(path); }));
    EXPECT_EQ(contentsOf(path), oldText);
}

TEST(SettingsFileRewrite, AHardLinkedFileIsRewrittenForEveryName) {
    scratch::Folder folder;
    const fs::path path = folder.path / "settings.txt";
    const fs::path otherName = folder.path / "teacher-copy.txt";
    writeFile(path, oldText);
    fs::create_hard_link(path, otherName);
    ASSERT_TRUE(save(path));
    EXPECT_EQ(contentsOf(path), formatSettings(expert));
    EXPECT_EQ(contentsOf(otherName), formatSettings(expert));
    EXPECT_EQ(identityOf(path).links, 2u);
    EXPECT_EQ(scratch::namesIn(folder.path),
              (std::vector<std::string>{"settings.txt", "teacher-copy.txt"}));
}

// A symbolic link at the settings file's name, dangling or to another's file, is
// replaced by the saved file: what it names is never created or changed, so that on a
// shared copy nobody can make a pupil's save overwrite a file of theirs.
TEST(SettingsFileRewrite, ALinkIsReplacedAndWhatItNamesIsLeftAlone) {
    struct Case {
        const char* name;
        bool targetExists;
        bool relative;
    };
    for (const Case& c :
         {Case{"dangling, absolute", false, false}, Case{"dangling, relative", false, true},
          Case{"to another's file", true, false},
          Case{"to another's file, relative", true, true}}) {
        SCOPED_TRACE(c.name);
        scratch::Folder folder;
        fs::create_directories(folder.path / "Data");
        fs::create_directories(folder.path / "shared");
        const fs::path link = folder.path / "Data" / "settings.txt";
        const fs::path real = folder.path / "shared" / "notes.txt";
        if (c.targetExists) {
            writeFile(real, oldText);
        }
        fs::create_symlink(c.relative ? fs::path("../shared/notes.txt") : real, link);
        ASSERT_TRUE(save(link));
        EXPECT_FALSE(fs::is_symlink(link));
        EXPECT_EQ(contentsOf(link), formatSettings(expert));
        if (c.targetExists) {
            EXPECT_EQ(contentsOf(real), oldText);
        } else {
            EXPECT_FALSE(fs::exists(fs::symlink_status(real)));
        }
        EXPECT_EQ(scratch::namesIn(folder.path / "Data"), std::vector<std::string>{"settings.txt"});
    }
}

// Where the file is rewritten in place (more names than one, or a read-only folder), an
// old file of any size is saved, and every name of it reads the new settings alone.
TEST(SettingsFileRewrite, InPlaceAnOldFileOfAnySizeIsSaved) {
    for (const std::size_t size : {std::size_t{10}, std::size_t{4095}, std::size_t{4097},
                                   std::size_t{70000}, std::size_t{3} << 20}) {
        for (const bool readOnlyFolder : {false, true}) {
            SCOPED_TRACE(std::to_string(size) + (readOnlyFolder ? " read-only folder" : " linked"));
            scratch::Folder folder;
            const fs::path path = folder.path / "settings.txt";
            const std::string old =
                (oldText + "\n" + std::string(size, '#')).substr(0, std::max(size, oldText.size()));
            writeFile(path, old);
            if (readOnlyFolder) {
                fs::permissions(path, scratch::writableByTheUser());
                fs::permissions(folder.path, scratch::readOnlyFolder());
            } else {
                fs::create_hard_link(path, folder.path / "teacher-copy.txt");
            }
            EXPECT_TRUE(readOnlyFolder ? scratch::asUnprivilegedUser([&] { return save(path); })
                                       : save(path));
            EXPECT_EQ(contentsOf(path), formatSettings(expert));
            if (!readOnlyFolder) {
                EXPECT_EQ(contentsOf(folder.path / "teacher-copy.txt"), formatSettings(expert));
            }
        }
    }
}

TEST(SettingsFileRewrite, ALinkInACircleIsReplacedAtTheName) {
    scratch::Folder folder;
    const fs::path first = folder.path / "settings.txt";
    const fs::path second = folder.path / "other.txt";
    fs::create_symlink(second, first);
    fs::create_symlink(first, second);
    // The link at the settings file's name is replaced; the other is left as it was.
    EXPECT_TRUE(save(first));
    EXPECT_FALSE(fs::is_symlink(first));
    EXPECT_EQ(contentsOf(first), formatSettings(expert));
    EXPECT_TRUE(fs::is_symlink(second));
}

// Root may hand the new file to the old owner; the file keeps owner and group.
TEST(SettingsFileRewrite, KeepsTheOwnerAndGroupWhereTheProcessMay) {
    if (!scratch::runningAsRoot()) {
        GTEST_SKIP() << "only root can make a file that belongs to someone else";
    }
    scratch::Folder folder;
    const fs::path path = folder.path / "settings.txt";
    writeFile(path, oldText);
    ASSERT_EQ(chown(path.c_str(), scratch::nobodyUser, scratch::nobodyGroup), 0);
    ASSERT_TRUE(save(path));
    EXPECT_EQ(contentsOf(path), formatSettings(expert));
    EXPECT_EQ(identityOf(path).owner, scratch::nobodyUser);
    EXPECT_EQ(identityOf(path).group, scratch::nobodyGroup);
}

// Where the process may not give the file away, it writes the file in place, so that a
// shared file stays its owner's.
TEST(SettingsFileRewrite, ASharedFileOfAnotherOwnerStaysTheirs) {
    if (!scratch::runningAsRoot()) {
        GTEST_SKIP() << "only root can make a file that belongs to someone else";
    }
    scratch::Folder folder;
    const fs::path path = folder.path / "settings.txt";
    writeFile(path, oldText);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write | fs::perms::others_read |
                              fs::perms::others_write);
    fs::permissions(folder.path, fs::perms::all);
    EXPECT_TRUE(scratch::asUnprivilegedUser([&] { return save(path); }));
    EXPECT_EQ(contentsOf(path), formatSettings(expert));
    EXPECT_EQ(identityOf(path).owner, 0u);
    EXPECT_EQ(identityOf(path).group, 0u);
    EXPECT_EQ(scratch::namesIn(folder.path), std::vector<std::string>{"settings.txt"});
}

// A save that finds the temporary file held by another waits a second at most, then
// fails with the file as it was; once the other is gone, saves go through again.
TEST(SettingsFileRewrite, AHeldTemporaryFileFailsTheSaveWithinASecond) {
    scratch::Folder folder;
    const fs::path path = folder.path / "settings.txt";
    writeFile(path, oldText);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        const int descriptor = open(temporaryPathFor(path).c_str(), O_RDWR | O_CREAT, 0600);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        const char held = fcntl(descriptor, F_SETLK, &lock) == 0 ? 'y' : 'n';
        (void)!write(ready[1], &held, 1);
        pause();
        _exit(0);
    }
    char held = 'n';
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    const auto started = std::chrono::steady_clock::now();
    const bool saved = save(path);
    const auto waited = std::chrono::steady_clock::now() - started;
    ::kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_FALSE(saved);
    EXPECT_LT(waited, std::chrono::milliseconds(1500));
    EXPECT_GE(waited, std::chrono::milliseconds(900));
    EXPECT_EQ(contentsOf(path), oldText);
    ASSERT_TRUE(save(path));
    EXPECT_EQ(contentsOf(path), formatSettings(expert));
}

TEST(SettingsFileRewrite, AStrayOfAnotherAccountIsReplacedToo) {
    if (!scratch::runningAsRoot()) {
        GTEST_SKIP() << "only root can make a file that belongs to someone else";
    }
    scratch::Folder folder;
    const fs::path path = folder.path / "settings.txt";
    writeFile(path, oldText);
    writeFile(temporaryPathFor(path), "DISPLAY:LOT");
    fs::permissions(temporaryPathFor(path), fs::perms::owner_read);
    fs::permissions(path, fs::perms::all);
    fs::permissions(folder.path, fs::perms::all);
    EXPECT_TRUE(scratch::asUnprivilegedUser([&] { return save(path); }));
    EXPECT_EQ(contentsOf(path), formatSettings(expert));
    EXPECT_EQ(scratch::namesIn(folder.path), std::vector<std::string>{"settings.txt"});
}

// Saves killed at random moments: at no time is there more than one stray file, the
// settings file always holds one whole set of settings, and the next save cleans up.
TEST(SettingsFileRewrite, InterruptedSavesStrandAtMostOneFile) {
    scratch::Folder folder;
    const fs::path path = folder.path / "settings.txt";
    const UserSettings beginner = {true, false, false, 0};
    ASSERT_TRUE(save(path, beginner));
    std::mt19937 generator(61027u);
    std::uniform_int_distribution<int> delayMicroseconds(0, 4000);
    constexpr int kills = 40;
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t child = fork();
        if (child == 0) {
            for (int round = 0;; ++round) {
                save(path, round % 2 == 0 ? expert : beginner);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(generator)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string contents = contentsOf(path);
        ASSERT_TRUE(contents == formatSettings(expert) || contents == formatSettings(beginner))
            << "after kill " << kill << ": " << contents;
        ASSERT_LE(scratch::namesIn(folder.path).size(), 2u) << "after kill " << kill;
    }
    ASSERT_TRUE(save(path));
    EXPECT_EQ(scratch::namesIn(folder.path), std::vector<std::string>{"settings.txt"});
}

// Two programs saving at the same moment take turns: every save succeeds, the file
// always holds one whole set of settings, and no temporary file is left.
TEST(SettingsFileRewrite, SavesAtTheSameMomentTakeTurns) {
    scratch::Folder folder;
    const fs::path path = folder.path / "settings.txt";
    const UserSettings settingsOf[] = {expert, {true, false, true, 1}, {false, false, false, 2}};
    ASSERT_TRUE(save(path, UserSettings{}));
    constexpr int saves = 150;
    std::vector<pid_t> children;
    for (const UserSettings& settings : settingsOf) {
        const pid_t child = fork();
        if (child == 0) {
            bool allSaved = true;
            for (int round = 0; round < saves; ++round) {
                allSaved = save(path, round % 2 == 0 ? settings : UserSettings{}) && allSaved;
            }
            _exit(allSaved ? 0 : 1);
        }
        children.push_back(child);
    }
    std::vector<std::string> seen;
    for (int look = 0; look < 200; ++look) {
        seen.push_back(contentsOf(path));
    }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
    }
    seen.push_back(contentsOf(path));
    for (const std::string& contents : seen) {
        bool whole = contents == formatSettings(UserSettings{});
        for (const UserSettings& settings : settingsOf) {
            whole = whole || contents == formatSettings(settings);
        }
        ASSERT_TRUE(whole) << contents;
    }
    EXPECT_EQ(scratch::namesIn(folder.path), std::vector<std::string>{"settings.txt"});
}

}  // namespace
