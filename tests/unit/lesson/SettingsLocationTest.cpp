// Where the settings are read and written: the program's Data/settings.txt for a
// portable copy, the pupil's own file for an installed one or when Data cannot be
// written, the per-user file winning at start-up, and saves that fail without loss.
// The per-user folder comes from a fake of the platform's UserFolders.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"
#include "lesson/SettingsLocation.h"
#include "platform/UserFolders.h"
#include "unit/lesson/ScratchFiles.h"

namespace {

namespace fs = std::filesystem;
using scratch::contentsOf;
using scratch::writeFile;

// Reports a chosen folder, installed for its lifetime.
class FakeUserFolders : public UserFolders {
public:
    explicit FakeUserFolders(fs::path folder) : folder(std::move(folder)) {
        installUserFolders(this);
    }
    ~FakeUserFolders() override { installUserFolders(nullptr); }
    FakeUserFolders(const FakeUserFolders&) = delete;
    FakeUserFolders& operator=(const FakeUserFolders&) = delete;
    fs::path settingsFolder() override { return folder; }

private:
    fs::path folder;
};

const UserSettings changed = {false, true, true, 4};
const std::string shipped = formatSettings(UserSettings{});

// A run-time folder with the shipped settings, and a per-user folder two levels below
// a home that does not hold it yet.
class SettingsPlacesTest : public ::testing::Test {
protected:
    SettingsPlacesTest() : home(folder.path() / "home"), perUser(home / ".config" / "bricketing") {
        writeFile("Data/settings.txt", shipped);
        fs::create_directories(home);
    }
    void markInstalled() { writeFile(installedMarkerPath, "installed\n"); }
    fs::path perUserFile() const { return perUser / "settings.txt"; }

    scratch::WorkingFolder folder;
    fs::path home;
    fs::path perUser;
    FakeUserFolders userFolders{perUser};
};

TEST_F(SettingsPlacesTest, APortableCopyWritesItsOwnFile) {
    ASSERT_TRUE(writeSettingsFile(changed));
    EXPECT_EQ(contentsOf("Data/settings.txt"), formatSettings(changed));
    EXPECT_FALSE(fs::exists(perUser));
}

TEST_F(SettingsPlacesTest, AnInstalledCopyWritesThePerUserFileAndLeavesItsDefaults) {
    markInstalled();
    ASSERT_TRUE(writeSettingsFile(changed));
    EXPECT_EQ(contentsOf(perUserFile()), formatSettings(changed));
    EXPECT_EQ(contentsOf("Data/settings.txt"), shipped);
    EXPECT_EQ(scratch::namesIn(perUser), std::vector<std::string>{"settings.txt"});
}

// The marker decides, not whether the installed files can be written: an
// administrator's account can write them.
TEST_F(SettingsPlacesTest, TheMarkerAloneMakesAnInstalledCopy) {
    EXPECT_FALSE(findSettingsPlaces().installed);
    markInstalled();
    const SettingsPlaces places = findSettingsPlaces();
    EXPECT_TRUE(places.installed);
    EXPECT_EQ(places.programFile, fs::path("Data/settings.txt"));
    EXPECT_EQ(places.perUserFile, perUserFile());
}

TEST_F(SettingsPlacesTest, APortableCopyUsesThePerUserFileWhenItsOwnCannotBeWritten) {
    fs::remove("Data/settings.txt");
    fs::create_directory("Data/settings.txt");  // a folder where the file should be
    ASSERT_TRUE(writeSettingsFile(changed));
    EXPECT_EQ(contentsOf(perUserFile()), formatSettings(changed));
    EXPECT_TRUE(fs::is_directory("Data/settings.txt"));
}

TEST_F(SettingsPlacesTest, APortableCopyInAReadOnlyFolderUsesThePerUserFile) {
    fs::permissions("Data/settings.txt",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions("Data", scratch::readOnlyFolder());
    fs::permissions(home, scratch::writableByTheUser());
    fs::permissions(folder.path(), fs::perms::others_exec | fs::perms::group_exec,
                    fs::perm_options::add);
    EXPECT_TRUE(scratch::asUnprivilegedUser([] { return writeSettingsFile(changed); }));
    EXPECT_EQ(contentsOf(perUserFile()), formatSettings(changed));
    EXPECT_EQ(contentsOf("Data/settings.txt"), shipped);
}

// Once there is a per-user file, start-up reads it, so that is where a save must go.
TEST_F(SettingsPlacesTest, AnExistingPerUserFileWinsAtStartUpAndTakesTheSaves) {
    fs::create_directories(perUser);
    writeFile(perUserFile(), formatSettings({false, false, true, 3}));
    EXPECT_EQ(settingsFileToRead(findSettingsPlaces()), perUserFile());
    ASSERT_TRUE(writeSettingsFile(changed));
    EXPECT_EQ(contentsOf(perUserFile()), formatSettings(changed));
    EXPECT_EQ(contentsOf("Data/settings.txt"), shipped);
}

TEST_F(SettingsPlacesTest, StartUpReadsTheProgramsFileWithoutAPerUserOne) {
    EXPECT_EQ(settingsFileToRead(findSettingsPlaces()), fs::path("Data/settings.txt"));
    fs::create_directories(perUserFile());  // a folder is no settings file
    EXPECT_EQ(settingsFileToRead(findSettingsPlaces()), fs::path("Data/settings.txt"));
}

// The whole round: the dialog's save, then the next start-up's reading.
TEST_F(SettingsPlacesTest, WhatIsSavedIsWhatTheNextStartUpReads) {
    FakeDrawingServices services;
    for (const bool installed : {false, true}) {
        SCOPED_TRACE(installed ? "installed" : "portable");
        if (installed) {
            markInstalled();
        }
        for (const UserSettings& settings : {changed, UserSettings{true, false, true, 2}}) {
            ASSERT_TRUE(writeSettingsFile(settings));
            testing::internal::CaptureStderr();  // no level file here: one line about it
            LessonPanel nextRun;
            testing::internal::GetCapturedStderr();
            EXPECT_EQ(formatSettings(settingsOf(nextRun)), formatSettings(settings));
        }
    }
}

// Each way the per-user file can fail: the save reports it, nothing crashes, and the
// shipped file and anything already there are as they were.
struct FailureCase {
    const char* name;
    void (*arrange)(const fs::path& home, const fs::path& perUser);
    bool unprivileged;
};

const FailureCase failures[] = {
    {"no per-user folder", [](const fs::path&, const fs::path&) {}, false},
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

class PerUserFailure : public SettingsPlacesTest,
                       public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PerUserFailure, TheSaveFailsAndNothingIsLost) {
    markInstalled();
    GetParam().arrange(home, perUser);
    std::unique_ptr<FakeUserFolders> noFolder;
    if (std::string(GetParam().name) == "no per-user folder") {
        noFolder = std::make_unique<FakeUserFolders>(fs::path());
    }
    fs::permissions(folder.path(), fs::perms::others_exec | fs::perms::group_exec,
                    fs::perm_options::add);
    const auto save = [] { return !writeSettingsFile(changed); };
    EXPECT_TRUE(GetParam().unprivileged ? scratch::asUnprivilegedUser(save) : save());
    EXPECT_EQ(contentsOf("Data/settings.txt"), shipped);
    EXPECT_FALSE(fs::is_regular_file(perUserFile()));
}

INSTANTIATE_TEST_SUITE_P(SettingsPlaces, PerUserFailure, ::testing::ValuesIn(failures),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name)) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(SettingsPlacesWithoutUserFolders, APortableCopyStillWritesItsOwnFile) {
    scratch::WorkingFolder folder;
    ASSERT_EQ(userFolders(), nullptr);
    EXPECT_TRUE(findSettingsPlaces().perUserFile.empty());
    ASSERT_TRUE(writeSettingsFile(changed));
    EXPECT_EQ(contentsOf("Data/settings.txt"), formatSettings(changed));
}

}  // namespace
