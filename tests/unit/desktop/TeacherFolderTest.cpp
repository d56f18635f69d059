// Where the files a teacher edits are found: the rule for each kind of copy, and the
// level file and default settings read from there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "lesson/LevelFile.h"
#include "platform/TeacherFolder.h"
#include "platform/desktop/SettingsLocation.h"
#include "platform/desktop/TeacherFolderRule.h"

namespace fs = std::filesystem;

namespace {

fs::path scratch() {
    return fs::temp_directory_path() /
           ("bricketing-teacher-" +
            std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
}

struct Case {
    const char* runtime;  // the run-time folder, under the scratch root
    bool installed;
    const char* etcMade;   // the etc/bricketing folder that exists ("" none)
    const char* expected;  // under the scratch root, or "Data" for the copy's own
};

TEST(TeacherFolder, RuleForEachKindOfCopy) {
    const Case cases[] = {
        // The .deb unpacked under a root: /usr's configuration is the root's etc.
        {"usr/share/bricketing", true, "etc/bricketing", "etc/bricketing"},
        // cmake --install --prefix ~/.local: the prefix's own etc.
        {"home/.local/share/bricketing", true, "home/.local/etc/bricketing",
         "home/.local/etc/bricketing"},
        {"usr/local/share/bricketing", true, "usr/local/etc/bricketing",
         "usr/local/etc/bricketing"},
        // Installed, but nothing was put under etc: the copy's own Data.
        {"usr/share/bricketing", true, "", "Data"},
        // Not installed: an unpacked folder or the source tree, whatever etc holds.
        {"usr/share/bricketing", false, "etc/bricketing", "Data"},
        {"portable", true, "etc/bricketing", "Data"},
        {"share/other", true, "etc/bricketing", "Data"},
    };
    for (const Case& row : cases) {
        const fs::path root = scratch();
        fs::remove_all(root);
        fs::create_directories(root / row.runtime);
        if (*row.etcMade != '\0') {
            fs::create_directories(root / row.etcMade);
        }
        const fs::path expected =
            std::string(row.expected) == "Data" ? fs::path("Data") : root / row.expected;
        EXPECT_EQ(teacherFolderFor(root / row.runtime, row.installed), expected)
            << row.runtime << (row.installed ? " installed" : "") << " etc: " << row.etcMade;
        fs::remove_all(root);
    }
}

#ifndef _WIN32
// End to end through the working directory: an installed copy unpacked under a root
// reads its levels and default settings from that root's etc/bricketing, and the
// settings it starts with are never written there.
TEST(TeacherFolder, InstalledCopyReadsTheTeachersFilesFromEtc) {
    const fs::path root = scratch();
    const fs::path start = fs::current_path();
    fs::remove_all(root);
    const fs::path share = root / "usr" / "share" / "bricketing";
    fs::create_directories(share / "Data");
    fs::create_directories(root / "etc" / "bricketing");
    std::ofstream(share / "Data" / "installed.txt") << "installed\n";
    std::ofstream(share / "Data" / "levels.txt") << "not this one\n";
    std::ofstream(root / "etc" / "bricketing" / "levels.txt")
        << "LEVEL,DIVISOR MIN,DIVISOR MAX,DIVIDEND MIN,DIVIDEND MAX\n"
        << "BEGINNER,3,3,30,30\nNOVICE,4,4,40,40\nINTERMEDIATE,5,5,50,50\n"
        << "ADVANCED,6,6,60,60\nEXPERT,7,7,70,70\nEND,\n";
    fs::current_path(share);

    installTeacherFolder(desktopTeacherFolder());
    EXPECT_EQ(fs::canonical(teacherFolder()), fs::canonical(root / "etc" / "bricketing"));
    LevelTable table;
    const LevelFileReading reading = readLevelFile(levelFilePath(), table);
    EXPECT_EQ(reading.access, LevelFileAccess::Read);
    EXPECT_TRUE(reading.complete);
    EXPECT_EQ(table[0].divisorMin, 3);
    EXPECT_EQ(table[4].dividendMax, 70);

    const SettingsFiles files =
        settingsFilesFor(findSettingsPlaces(root / "home" / ".config" / "bricketing"));
    EXPECT_EQ(fs::canonical(files.toRead.parent_path()),
              fs::canonical(root / "etc" / "bricketing"));
    EXPECT_EQ(files.toRead.filename(), "settings.txt");
    EXPECT_EQ(files.toWrite, root / "home" / ".config" / "bricketing" / "settings.txt");

    installTeacherFolder("Data");
    fs::current_path(start);
    fs::remove_all(root);
}

#endif  // the /etc rule is Linux's

}  // namespace
