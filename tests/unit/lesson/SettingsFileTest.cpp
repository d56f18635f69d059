// The settings file: the reader's rules, the exact written form, the atomic rewrite
// and its failures, and the lesson panel reading and writing the one file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "fakes/FakeDrawing.h"
#include "lesson/LessonPanel.h"
#include "lesson/SettingsFile.h"
#include "unit/lesson/ScratchFiles.h"

namespace {

namespace fs = std::filesystem;

std::string describe(const UserSettings& s) {
    return std::string(s.displayLotsOf ? "lots of" : "x") + (s.autoProduct ? ", product" : "") +
           (s.autoRemainder ? ", remainder" : "") + ", difficulty " + std::to_string(s.difficulty);
}

void expectSettings(const UserSettings& actual, const UserSettings& expected) {
    EXPECT_EQ(describe(actual), describe(expected));
}

UserSettings readText(const std::string& text, UserSettings start = {}) {
    std::istringstream in(text);
    return readSettings(in, start);
}

using scratch::asWritten;
using scratch::contentsOf;

// The reverse of every value, to show which ones a file changed.
UserSettings opposite(const UserSettings& s) {
    return {!s.displayLotsOf, !s.autoProduct, !s.autoRemainder, s.difficulty == 3 ? 1 : 3};
}

const std::string expertTimesAllOn =
    "DISPLAY:TIMES // LOTSOF for \"lots of\" or TIMES for \"x\"; changes display in working "
    "out\n"
    "AUTOPRODUCT:ON // ON or OFF; if on, calculates products for each multiple automatically\n"
    "AUTOREMAINDER:ON // ON or OFF; if on, calculates the remainder each time automatically\n"
    "DIFFICULTY:EXPERT // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT";

TEST(SettingsReader, ReadsAllFourEntriesOfAWrittenFile) {
    expectSettings(readText(expertTimesAllOn), {false, true, true, 4});
}

TEST(SettingsReader, OnlyTheEntriesFoundChangeAnything) {
    const UserSettings start = {false, true, true, 2};
    expectSettings(readText("DIFFICULTY:EXPERT", start), {false, true, true, 4});
    expectSettings(readText("", start), start);
    expectSettings(readText("no colon anywhere", start), start);
}

TEST(SettingsReader, KeysAreCaseSensitiveAndUnknownValuesGiveFalseOrZero) {
    const UserSettings start = {true, true, true, 3};
    expectSettings(readText("display:TIMES\nDIFFICULTY:novice\n", start), {true, true, true, 0});
    expectSettings(readText("DISPLAY:lotsof\nAUTOPRODUCT:on\nAUTOREMAINDER:YES\n", start),
                   {false, false, false, 3});
    expectSettings(readText("DIFFICULTY:BEGINNER\n", start), {true, true, true, 0});
    expectSettings(readText("UNKNOWN:ON\nAUTOPRODUCT :ON\n", start), start);
}

TEST(SettingsReader, EachDifficultyWordGivesItsIndex) {
    const char* const words[] = {"BEGINNER", "NOVICE", "INTERMEDIATE", "ADVANCED", "EXPERT"};
    for (int index = 0; index < 5; ++index) {
        EXPECT_EQ(
            readText(std::string("DIFFICULTY:") + words[index], {true, false, false, 2}).difficulty,
            index);
    }
}

TEST(SettingsReader, SkipsWhiteSpaceBeforeTheValueOnly) {
    expectSettings(readText("DISPLAY: TIMES\nAUTOPRODUCT:\tON\nDIFFICULTY:\n\nNOVICE"),
                   {false, true, false, 1});
    // A value ends at white space: "ON," is not "ON", "ON // x" is.
    EXPECT_FALSE(readText("AUTOPRODUCT:ON,\n").autoProduct);
    EXPECT_TRUE(readText("AUTOPRODUCT:ON // trailing words: with colons\n").autoProduct);
}

TEST(SettingsReader, LaterEntriesWin) {
    EXPECT_FALSE(readText("DISPLAY:LOTSOF\nDISPLAY:TIMES\n").displayLotsOf);
    EXPECT_TRUE(readText("DISPLAY:TIMES\nDISPLAY:LOTSOF").displayLotsOf);
}

TEST(SettingsReader, ABlankLineSpoilsOnlyTheEntryAfterIt) {
    const UserSettings start = {true, false, false, 0};
    expectSettings(readText("\nDISPLAY:TIMES\nAUTOPRODUCT:ON\nDIFFICULTY:ADVANCED", start),
                   {true, true, false, 3});
    expectSettings(readText("free text line\nAUTOREMAINDER:ON\nAUTOPRODUCT:ON", start),
                   {true, true, false, 0});
}

TEST(SettingsReader, ALineBeginningWithAColonEndsTheReading) {
    expectSettings(readText("AUTOPRODUCT:ON\n:ON\nDIFFICULTY:EXPERT\nDISPLAY:TIMES\n"),
                   {true, true, false, 0});
}

TEST(SettingsReader, CrLfLineEndsReadLikeLf) {
    std::string crlf;
    for (char c : expertTimesAllOn) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const UserSettings start = {true, false, false, 0};
    expectSettings(readText(crlf, start), readText(expertTimesAllOn, start));
    // Values directly followed by the line end: the CR is no part of them, and the
    // key after them does not start with it.
    expectSettings(readText("DISPLAY:TIMES\r\nAUTOPRODUCT:ON\r\nAUTOREMAINDER:ON\r\n"
                            "DIFFICULTY:NOVICE\r\n",
                            start),
                   {false, true, true, 1});
}

TEST(SettingsReader, AKeyCutOffByTheEndOfInputIsNoEntry) {
    const UserSettings start = {true, true, true, 2};
    expectSettings(readText("AUTOPRODUCT:OFF\nDISPLAY", start), {true, false, true, 2});
}

TEST(SettingsFormat, IsTheExactFourCommentedLines) {
    EXPECT_EQ(formatSettings({false, true, true, 4}), expertTimesAllOn);
    const std::string defaults = formatSettings(UserSettings{});
    EXPECT_EQ(defaults.rfind("DISPLAY:LOTSOF // ", 0), 0u);
    EXPECT_NE(defaults.find("\nAUTOPRODUCT:OFF // "), std::string::npos);
    EXPECT_NE(defaults.find("\nAUTOREMAINDER:OFF // "), std::string::npos);
    EXPECT_NE(defaults.find("\nDIFFICULTY:BEGINNER // "), std::string::npos);
    EXPECT_NE(defaults.back(), '\n');
}

TEST(SettingsFormat, WritesAnIndexOutsideTheTableAsBeginner) {
    EXPECT_EQ(readText(formatSettings({true, false, false, 7}), {true, false, false, 2}).difficulty,
              0);
    EXPECT_EQ(
        readText(formatSettings({true, false, false, -1}), {true, false, false, 2}).difficulty, 0);
}

TEST(SettingsFileWriting, EveryCombinationReadsBackTheSame) {
    scratch::Folder scratch;
    const fs::path path = scratch.path / "settings.txt";
    for (int bits = 0; bits < 8; ++bits) {
        for (int difficulty = 0; difficulty < 5; ++difficulty) {
            const UserSettings written = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0,
                                          difficulty};
            SCOPED_TRACE(describe(written));
            ASSERT_TRUE(writeSettingsFile(written, path.string()));
            std::ifstream file(path);
            expectSettings(readSettings(file, opposite(written)), written);
        }
    }
}

TEST(SettingsFileWriting, WritesExactlyTheFormattedBytesAndNoTemporary) {
    scratch::Folder scratch;
    const fs::path path = scratch.path / "settings.txt";
    std::ofstream(path) << std::string(2000, '#');  // longer than the new contents
    ASSERT_TRUE(writeSettingsFile({false, true, true, 4}, path.string()));
    EXPECT_EQ(contentsOf(path), asWritten(expertTimesAllOn));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(scratch.path)) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(SettingsFileWriting, ALinkedFileIsRewrittenWhereItLiesAndTheLinkStays) {
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

    ASSERT_TRUE(writeSettingsFile({false, true, true, 4}, link.string()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contentsOf(real), asWritten(expertTimesAllOn));
    EXPECT_EQ(contentsOf(link), asWritten(expertTimesAllOn));
}

TEST(SettingsFileWriting, FailsWhenTheFolderIsMissing) {
    scratch::Folder scratch;
    const fs::path path = scratch.path / "missing" / "settings.txt";
    EXPECT_FALSE(writeSettingsFile(UserSettings{}, path.string()));
    EXPECT_FALSE(fs::exists(path.parent_path()));
}

TEST(SettingsFileWriting, FailsWhenTheTargetIsAFolderAndLeavesEverythingAsItWas) {
    scratch::Folder scratch;
    const fs::path path = scratch.path / "settings.txt";
    fs::create_directory(path);
    std::ofstream(path / "inside.txt", std::ios::binary) << "old contents\r\n";
    EXPECT_FALSE(writeSettingsFile(UserSettings{}, path.string()));
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
    return scratch::asUnprivilegedUser(
        [&] { return !writeSettingsFile(UserSettings{}, path.string()); });
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
    ASSERT_TRUE(writeSettingsFile({false, true, true, 4}, path.string()));
    EXPECT_EQ(contentsOf(path), expertTimesAllOn);
    EXPECT_EQ(fs::status(path).permissions(), shared);

    // A file written for the first time gets the usual permissions.
    const fs::path fresh = scratch.path / "fresh.txt";
    ASSERT_TRUE(writeSettingsFile(UserSettings{}, fresh.string()));
    EXPECT_EQ(fs::status(fresh).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                   fs::perms::group_read | fs::perms::others_read);
}

#endif  // _WIN32

class LessonPanelSettings : public ::testing::Test {
protected:
    FakeDrawingServices services;
    LessonPanel panel;  // built in the repository root, so from the shipped files
};

TEST_F(LessonPanelSettings, ConstructionReadsTheShippedDefaults) {
    expectSettings(settingsOf(panel), UserSettings{});
}

TEST_F(LessonPanelSettings, ApplyStoresWhereSettingsOfReads) {
    applySettings(panel, {false, true, false, 3});
    EXPECT_FALSE(panel.board.displayLotsOf);
    EXPECT_TRUE(panel.board.autoProduct);
    EXPECT_FALSE(panel.board.autoRemainder);
    EXPECT_EQ(panel.difficulty, 3);
    expectSettings(settingsOf(panel), {false, true, false, 3});
}

TEST_F(LessonPanelSettings, LoadingAppliesOnlyTheEntriesTheFileHolds) {
    applySettings(panel, {true, true, false, 1});
    scratch::WorkingFolder inScratch;
    std::ofstream("Data/settings.txt") << "AUTOREMAINDER:ON\r\nDIFFICULTY:EXPERT";
    panel.loadSettings();
    expectSettings(settingsOf(panel), {true, true, true, 4});
}

TEST_F(LessonPanelSettings, AMissingFileChangesNothing) {
    applySettings(panel, {false, false, true, 2});
    scratch::WorkingFolder inScratch;
    panel.loadSettings();
    expectSettings(settingsOf(panel), {false, false, true, 2});
}

TEST_F(LessonPanelSettings, TheWrittenFileIsTheOneLoadingReads) {
    scratch::WorkingFolder inScratch;
    ASSERT_TRUE(writeSettingsFile({false, true, true, 4}));
    EXPECT_EQ(contentsOf("Data/settings.txt"), asWritten(expertTimesAllOn));
    panel.loadSettings();
    expectSettings(settingsOf(panel), {false, true, true, 4});
}

TEST(ShippedSettings, AreTheDefaultsInTheWrittenForm) {
    EXPECT_EQ(contentsOf("Data/settings.txt"), formatSettings(UserSettings{}));
    std::ifstream file("Data/settings.txt");
    ASSERT_TRUE(file.is_open());
    expectSettings(readSettings(file, opposite(UserSettings{})), UserSettings{});
}

}  // namespace
