// The settings text: the reader's rules and its bounds, the exact written form, and
// the lesson panel reading and keeping it through the installed settings store.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fakes/FakeDrawing.h"
#include "fakes/FakeSettingsStore.h"
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

// An overlong key or value is read past, not kept: it matches no known word and the
// entries after it still apply.
TEST(SettingsReader, AnOverlongKeyOrValueIsCutAndMatchesNothing) {
    const std::string longWord(1 << 20, 'A');
    const UserSettings start = {true, false, false, 2};
    expectSettings(readText(longWord + "DISPLAY:TIMES\nAUTOPRODUCT:ON", start),
                   {true, true, false, 2});
    expectSettings(readText("DISPLAY:TIMES" + longWord + "\nDIFFICULTY:EXPERT", start),
                   {false, false, false, 4});
    expectSettings(
        readText("DIFFICULTY:" + std::string(longestSettingsWord, 'X') + "EXPERT", start),
        {true, false, false, 0});
}

class LessonPanelSettings : public ::testing::Test {
protected:
    FakeDrawingServices services;
    FakeSettingsStore store{"AUTOREMAINDER:ON\r\nDIFFICULTY:EXPERT"};
    LessonPanel panel;  // reads the store as it is made
};

TEST_F(LessonPanelSettings, ConstructionAppliesOnlyTheEntriesTheStoreHolds) {
    expectSettings(settingsOf(panel), {true, false, true, 4});
}

TEST_F(LessonPanelSettings, ApplyStoresWhereSettingsOfReads) {
    applySettings(panel, {false, true, false, 3});
    EXPECT_FALSE(panel.board.displayLotsOf);
    EXPECT_TRUE(panel.board.autoProduct);
    EXPECT_FALSE(panel.board.autoRemainder);
    EXPECT_EQ(panel.difficulty, 3);
    expectSettings(settingsOf(panel), {false, true, false, 3});
}

TEST_F(LessonPanelSettings, NothingKeptOrNoStoreChangesNothing) {
    applySettings(panel, {false, false, true, 2});
    store.text.reset();
    panel.loadSettings();
    expectSettings(settingsOf(panel), {false, false, true, 2});
    installSettingsStore(nullptr);
    panel.loadSettings();
    EXPECT_FALSE(keepSettings(UserSettings{}));
    expectSettings(settingsOf(panel), {false, false, true, 2});
}

TEST_F(LessonPanelSettings, WhatIsKeptIsTheFourLinesAndReadsBack) {
    ASSERT_TRUE(keepSettings({false, true, true, 4}));
    EXPECT_EQ(store.text, expertTimesAllOn);
    applySettings(panel, UserSettings{});
    panel.loadSettings();
    expectSettings(settingsOf(panel), {false, true, true, 4});
    store.refuse = true;
    EXPECT_FALSE(keepSettings(UserSettings{}));
    EXPECT_EQ(store.text, expertTimesAllOn);
}

// UTF-16 as "text" written by an editor on Windows: each character as two bytes in the
// given order, after the byte-order mark when there is one.
std::string asUtf16(const std::string& text, bool littleEnd, bool mark) {
    std::string bytes =
        mark ? (littleEnd ? std::string("\xFF\xFE") : std::string("\xFE\xFF")) : std::string();
    for (const char c : text) {
        bytes += littleEnd ? std::string{c, '\0'} : std::string{'\0', c};
    }
    return bytes;
}

// However an editor encoded the file, every entry in it counts, the first included.
TEST_F(LessonPanelSettings, ByteOrderMarksAndUtf16FilesReadLikePlainText) {
    const std::string text = "DISPLAY:TIMES\r\nAUTOPRODUCT:ON\r\nDIFFICULTY:ADVANCED";
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"plain", text},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + text},
        {"UTF-16, little end first, with its mark", asUtf16(text, true, true)},
        {"UTF-16, big end first, with its mark", asUtf16(text, false, true)},
        {"UTF-16, little end first, without a mark", asUtf16(text, true, false)},
        {"UTF-16, big end first, without a mark", asUtf16(text, false, false)},
        {"UTF-16 cut in the middle of a character", asUtf16(text, true, true) + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store.text = c.bytes;
        applySettings(panel, UserSettings{});
        panel.loadSettings();
        expectSettings(settingsOf(panel), {false, true, false, 3});
    }
}

TEST(ShippedSettings, AreTheDefaultsInTheWrittenForm) {
    EXPECT_EQ(contentsOf("Data/settings.txt"), formatSettings(UserSettings{}));
    std::ifstream file("Data/settings.txt");
    ASSERT_TRUE(file.is_open());
    expectSettings(readSettings(file, opposite(UserSettings{})), UserSettings{});
}

}  // namespace
