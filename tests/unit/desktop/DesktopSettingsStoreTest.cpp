// The desktop settings store: which file it reads and writes for a portable and an
// installed copy (a table of cases), folders and accounts named outside ASCII, a FIFO,
// a device or a huge file under the settings name, the line on standard error when a
// save fails, and saves that fail without loss. Real files in a scratch folder; the
// per-user folder is one inside it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"
#include "lesson/SettingsFile.h"
#include "platform/desktop/DesktopSettingsStore.h"
#include "unit/lesson/ScratchFiles.h"

namespace {

namespace fs = std::filesystem;
using scratch::contentsOf;
using scratch::writeFile;

const std::string teachers = formatSettings({false, false, true, 1});
const std::string pupils = formatSettings({true, true, false, 3});
const std::string chosen = formatSettings({false, true, true, 4});

// A run-time folder (the working directory) and a per-user folder two levels below a
// home that does not hold it yet.
class DesktopStoreTest : public ::testing::Test {
protected:
    DesktopStoreTest() : home(folder.path() / "home"), perUser(home / ".config" / "bricketing") {
        fs::create_directories(home);
    }
    void markInstalled() { writeFile(installedMarkerPath, "installed\n"); }
    fs::path perUserFile() const { return perUser / "settings.txt"; }
    void writePerUserFile(const std::string& text) {
        fs::create_directories(perUser);
        writeFile(perUserFile(), text);
    }

    scratch::WorkingFolder folder;
    fs::path home;
    fs::path perUser;
    DesktopSettingsStore store{perUser};
};

// What the run-time folder and the per-user folder hold, and which file start-up must
// read and a save must write.
enum class Program { Writable, Missing, Unwritable };
enum class PerUser { None, Kept, Unreadable };
enum class Place { Program, PerUser, Nowhere };

struct PlaceCase {
    const char* name;
    bool installed;
    Program program;
    PerUser perUser;
    Place reads;
    Place writes;
};

const PlaceCase placeCases[] = {
    {"portable", false, Program::Writable, PerUser::None, Place::Program, Place::Program},
    {"portable beside an installed copy's file", false, Program::Writable, PerUser::Kept,
     Place::Program, Place::Program},
    {"portable with an unreadable per-user file", false, Program::Writable, PerUser::Unreadable,
     Place::Program, Place::Program},
    {"portable without its file", false, Program::Missing, PerUser::Kept, Place::Nowhere,
     Place::Program},
    {"portable that cannot write, per-user file kept", false, Program::Unwritable, PerUser::Kept,
     Place::PerUser, Place::PerUser},
    {"portable that cannot write, no per-user file", false, Program::Unwritable, PerUser::None,
     Place::Nowhere, Place::PerUser},
    {"installed, per-user file kept", true, Program::Writable, PerUser::Kept, Place::PerUser,
     Place::PerUser},
    {"installed before the first save", true, Program::Writable, PerUser::None, Place::Program,
     Place::PerUser},
};

class SettingsPlaces : public DesktopStoreTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(SettingsPlaces, StartUpReadsWhatASaveWrites) {
    const PlaceCase& row = GetParam();
    if (row.installed) {
        markInstalled();
    }
    if (row.program == Program::Writable) {
        writeFile(programSettingsPath, teachers);
    } else if (row.program == Program::Unwritable) {
        fs::create_directories(fs::path(programSettingsPath) / "a folder in the way");
    }
    if (row.perUser == PerUser::Kept) {
        writePerUserFile(pupils);
    } else if (row.perUser == PerUser::Unreadable) {
        fs::create_directories(perUserFile() / "a folder in the way");
    }
    const std::optional<std::string> wanted =
        row.reads == Place::Program   ? std::optional<std::string>(teachers)
        : row.reads == Place::PerUser ? std::optional<std::string>(pupils)
                                      : std::nullopt;
    EXPECT_EQ(store.read(), wanted);

    ASSERT_TRUE(store.write(chosen));
    const fs::path written =
        row.writes == Place::Program ? fs::path(programSettingsPath) : perUserFile();
    EXPECT_EQ(contentsOf(written), scratch::asWritten(chosen));
    EXPECT_EQ(store.read(), scratch::asWritten(chosen)) << "the next start reads what was saved";
    if (row.writes == Place::Program && row.perUser == PerUser::Kept) {
        EXPECT_EQ(contentsOf(perUserFile()), pupils) << "the per-user file is left alone";
    }
    if (row.writes == Place::PerUser && row.program == Program::Writable) {
        EXPECT_EQ(contentsOf(programSettingsPath), teachers) << "the shipped defaults stay";
    }
}

INSTANTIATE_TEST_SUITE_P(DesktopStore, SettingsPlaces, ::testing::ValuesIn(placeCases),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name)) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

#ifndef _WIN32
// A Data/settings.txt the pupil may not write counts as one that cannot be written.
TEST_F(DesktopStoreTest, APortableCopyWithAReadOnlyFileUsesThePerUserFile) {
    writeFile(programSettingsPath, teachers);
    writePerUserFile(pupils);
    fs::permissions(programSettingsPath,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions("Data", fs::perms::all);  // only the file's own permission stops it
    fs::permissions(home, fs::perms::all);
    fs::permissions(perUser.parent_path(), fs::perms::all);
    fs::permissions(perUser, fs::perms::all);
    fs::permissions(perUserFile(), fs::perms::all);
    fs::permissions(folder.path(), fs::perms::others_exec | fs::perms::group_exec,
                    fs::perm_options::add);
    EXPECT_TRUE(scratch::asUnprivilegedUser(
        [this] { return store.read() == pupils && store.write(chosen); }));
    EXPECT_EQ(contentsOf(perUserFile()), chosen);
    EXPECT_EQ(contentsOf(programSettingsPath), teachers);
}

// Start-up never waits on a FIFO and never reads a device or a huge file whole.
TEST_F(DesktopStoreTest, OnlyARegularFileIsReadAndOnlyItsStart) {
    ASSERT_EQ(mkfifo(programSettingsPath, 0600), 0);
    auto reading = std::async(std::launch::async, [this] { return store.read(); });
    if (reading.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
        close(open(programSettingsPath, O_WRONLY | O_NONBLOCK));  // lets the reader go
        FAIL() << "reading a FIFO blocked";
    }
    EXPECT_EQ(reading.get(), std::nullopt);

    fs::remove(programSettingsPath);
    fs::create_symlink("/dev/zero", programSettingsPath);
    EXPECT_EQ(store.read(), std::nullopt);

    fs::remove(programSettingsPath);
    const std::string huge = chosen + std::string(8 << 20, 'A');
    writeFile(programSettingsPath, huge);
    EXPECT_EQ(store.read(), huge.substr(0, largestSettingsRead));
}
#endif

// Folders and accounts named outside ASCII, as schools name them: a portable copy in
// such a folder and a pupil's per-user folder under such a name both save and read back.
TEST(DesktopStoreNames, AnyUnicodeFolderNameWorks) {
    scratch::Folder scratchFolder;
    const fs::path copy = scratchFolder.path / fs::path(u8"Maths ÷ Übungen");
    const fs::path pupil = scratchFolder.path / fs::path(u8"Łukasz Ëlå") / u8"Bricketing";
    fs::create_directories(copy / "Data");
    const fs::path home = fs::current_path();
    fs::current_path(copy);
    DesktopSettingsStore portable{pupil};
    writeFile(programSettingsPath, teachers);
    const std::optional<std::string> readFirst = portable.read();
    const bool portableSaved = portable.write(chosen);
    const std::optional<std::string> portableRead = portable.read();
    writeFile(installedMarkerPath, "installed\n");
    const bool installedSaved = portable.write(pupils);
    const std::optional<std::string> installedRead = portable.read();
    fs::current_path(home);

    EXPECT_EQ(readFirst, teachers);
    EXPECT_TRUE(portableSaved);
    EXPECT_EQ(portableRead, scratch::asWritten(chosen));
    EXPECT_TRUE(installedSaved);
    EXPECT_EQ(installedRead, scratch::asWritten(pupils));
    EXPECT_EQ(contentsOf(pupil / "settings.txt"), scratch::asWritten(pupils));
}

// The screen stays silent; standard error gets one line that names the file.
TEST_F(DesktopStoreTest, AFailedSaveIsOneLineOnStandardError) {
    markInstalled();
    writeFile(home / ".config", "a file where a folder must be");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(store.write(chosen));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("bricketing: the settings cannot be saved to ", 0), 0u) << said;
    EXPECT_NE(said.find("bricketing/settings.txt; the new settings apply until the program ends"),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;

    DesktopSettingsStore nowhere{fs::path()};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(nowhere.write(chosen));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("there is no per-user folder"),
              std::string::npos);
}

// The whole round: the dialog's save, then the next start-up's reading.
TEST_F(DesktopStoreTest, WhatIsSavedIsWhatTheNextStartUpReads) {
    FakeDrawingServices services;
    installSettingsStore(&store);
    writeFile(programSettingsPath, formatSettings(UserSettings{}));
    for (const bool installed : {false, true}) {
        SCOPED_TRACE(installed ? "installed" : "portable");
        if (installed) {
            markInstalled();
        }
        for (const UserSettings& settings :
             {UserSettings{false, true, true, 4}, UserSettings{true, false, true, 2}}) {
            ASSERT_TRUE(keepSettings(settings));
            testing::internal::CaptureStderr();  // no level file here: one line about it
            LessonPanel nextRun;
            testing::internal::GetCapturedStderr();
            EXPECT_EQ(formatSettings(settingsOf(nextRun)), formatSettings(settings));
        }
    }
    installSettingsStore(nullptr);
}

// Each way the per-user file can fail for an installed copy: the save reports it,
// nothing crashes, and the shipped file is as it was.
struct FailureCase {
    const char* name;
    void (*arrange)(const fs::path& home, const fs::path& perUser);
    bool unprivileged;
};

const FailureCase failures[] = {
    {"a file where a folder must be",
     [](const fs::path& home, const fs::path&) { writeFile(home / ".config", "not a folder"); },
     false},
    {"the per-user path is a folder",
     [](const fs::path&, const fs::path& perUser) {
         fs::create_directories(perUser / "settings.txt" / "inside");
     },
     false},
    {"an unwritable home",
     [](const fs::path& home, const fs::path&) {
         fs::permissions(home, scratch::readOnlyFolder());
     },
     true},
};

class PerUserFailure : public DesktopStoreTest,
                       public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PerUserFailure, TheSaveFailsAndNothingIsLost) {
#ifdef _WIN32
    if (GetParam().unprivileged) {
        GTEST_SKIP() << "a folder's permission bits do not stop writes on Windows";
    }
#endif
    markInstalled();
    const std::string shipped = formatSettings(UserSettings{});
    writeFile(programSettingsPath, shipped);
    GetParam().arrange(home, perUser);
    fs::permissions(folder.path(), fs::perms::others_exec | fs::perms::group_exec,
                    fs::perm_options::add);
    testing::internal::CaptureStderr();
    const auto save = [this] { return !store.write(chosen); };
    EXPECT_TRUE(GetParam().unprivileged ? scratch::asUnprivilegedUser(save) : save());
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(contentsOf(programSettingsPath), shipped);
    EXPECT_FALSE(fs::is_regular_file(perUserFile()));
}

INSTANTIATE_TEST_SUITE_P(DesktopStore, PerUserFailure, ::testing::ValuesIn(failures),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name)) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

}  // namespace
