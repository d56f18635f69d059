// The Settings and About dialogs against a scripted dialog: the controls shown from
// the current values, what OK stores and keeps, what Cancel leaves alone, and an
// About dialog that Escape cannot close.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "app/Dialogs.h"
#include "fakes/FakeDialogHost.h"
#include "fakes/FakeDrawing.h"
#include "fakes/FakeSettingsStore.h"
#include "lesson/LessonPanel.h"
#include "resources/DialogTemplates.h"

namespace {

namespace fs = std::filesystem;

constexpr int ok = 1;
constexpr int cancel = 2;
constexpr int autoProduct = 1002;
constexpr int autoRemainder = 1003;
constexpr int lotsOf = 1004;
constexpr int times = 1005;
constexpr int beginner = 1006;
constexpr int expert = 1010;

// Runs the test inside a fresh empty folder (with a Data folder unless asked not to)
// and goes back to the previous working directory afterwards.
class TemporaryWorkingDirectory {
public:
    explicit TemporaryWorkingDirectory(bool withDataFolder = true)
        : previous(fs::current_path()),
          folder(fs::temp_directory_path() /
                 ("bricketing-dialog-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(folder);
        if (withDataFolder) {
            fs::create_directory(folder / "Data");
        }
        fs::current_path(folder);
    }
    ~TemporaryWorkingDirectory() {
        fs::current_path(previous);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    TemporaryWorkingDirectory(const TemporaryWorkingDirectory&) = delete;
    TemporaryWorkingDirectory& operator=(const TemporaryWorkingDirectory&) = delete;

private:
    fs::path previous;
    fs::path folder;
};

class SettingsDialogTest : public ::testing::Test {
protected:
    void setValues(bool displayLotsOf, bool product, bool remainder, int difficulty) {
        panel.board.displayLotsOf = displayLotsOf;
        panel.board.autoProduct = product;
        panel.board.autoRemainder = remainder;
        panel.difficulty = difficulty;
    }

    void expectValues(bool displayLotsOf, bool product, bool remainder, int difficulty) {
        EXPECT_EQ(panel.board.displayLotsOf, displayLotsOf);
        EXPECT_EQ(panel.board.autoProduct, product);
        EXPECT_EQ(panel.board.autoRemainder, remainder);
        EXPECT_EQ(panel.difficulty, difficulty);
    }

    // The pupil's choices: "x", both automatic fills, Expert.
    void chooseTimesBothAutoExpert() {
        dialog.checkRadioButton(beginner, expert, expert);
        dialog.checkRadioButton(lotsOf, times, times);
        dialog.setChecked(autoProduct, true);
        dialog.setChecked(autoRemainder, true);
    }

    FakeDrawingServices services;
    FakeSettingsStore store;  // before the panel, which reads it as it is made
    LessonPanel panel;
    SettingsDialog procedure{panel};
    FakeDialogHost dialog{{ok, cancel, autoProduct, autoRemainder}};
};

TEST_F(SettingsDialogTest, OpeningShowsTheCurrentValues) {
    setValues(false, true, false, 3);
    dialog.open(procedure);
    for (int id = beginner; id <= expert; ++id) {
        EXPECT_EQ(dialog.isChecked(id), id == 1009) << "radio " << id;
    }
    EXPECT_FALSE(dialog.isChecked(lotsOf));
    EXPECT_TRUE(dialog.isChecked(times));
    EXPECT_TRUE(dialog.isChecked(autoProduct));
    EXPECT_FALSE(dialog.isChecked(autoRemainder));
    EXPECT_EQ(dialog.focus, ok);  // left to the first tab stop

    FakeDialogHost second{{ok, cancel}};
    setValues(true, false, true, 0);
    second.open(procedure);
    EXPECT_TRUE(second.isChecked(beginner));
    EXPECT_FALSE(second.isChecked(1007));
    EXPECT_TRUE(second.isChecked(lotsOf));
    EXPECT_FALSE(second.isChecked(times));
    EXPECT_FALSE(second.isChecked(autoProduct));
    EXPECT_TRUE(second.isChecked(autoRemainder));
}

TEST_F(SettingsDialogTest, OkStoresTheChoicesAndWritesTheExactFile) {
    TemporaryWorkingDirectory workingDirectory;
    setValues(true, false, false, 1);
    dialog.open(procedure);
    chooseTimesBothAutoExpert();
    EXPECT_TRUE(dialog.command(procedure, ok));
    EXPECT_TRUE(dialog.ended);
    EXPECT_EQ(dialog.endResult, 0);
    expectValues(false, true, true, 4);
    EXPECT_EQ(store.text.value_or("none"),
              "DISPLAY:TIMES // LOTSOF for \"lots of\" or TIMES for \"x\"; changes display in "
              "working out\n"
              "AUTOPRODUCT:ON // ON or OFF; if on, calculates products for each multiple "
              "automatically\n"
              "AUTOREMAINDER:ON // ON or OFF; if on, calculates the remainder each time "
              "automatically\n"
              "DIFFICULTY:EXPERT // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT");
}

TEST_F(SettingsDialogTest, CancelStoresAndWritesNothing) {
    TemporaryWorkingDirectory workingDirectory;
    setValues(true, false, false, 1);
    dialog.open(procedure);
    chooseTimesBothAutoExpert();
    EXPECT_TRUE(dialog.command(procedure, cancel));
    EXPECT_TRUE(dialog.ended);
    EXPECT_EQ(dialog.endResult, 0);
    expectValues(true, false, false, 1);
    EXPECT_EQ(store.writes, 0);
}

TEST_F(SettingsDialogTest, ChoicesStandWhenTheFileCannotBeWritten) {
    TemporaryWorkingDirectory workingDirectory(false);
    store.refuse = true;
    setValues(true, false, false, 0);
    dialog.open(procedure);
    chooseTimesBothAutoExpert();
    EXPECT_FALSE(saveSettingsFromDialog(panel, dialog));
    expectValues(false, true, true, 4);
    EXPECT_EQ(store.writes, 1);
    EXPECT_FALSE(store.text);
}

TEST_F(SettingsDialogTest, TheHighestCheckedDifficultyWins) {
    TemporaryWorkingDirectory workingDirectory;
    dialog.setChecked(1007, true);
    dialog.setChecked(1009, true);
    EXPECT_TRUE(saveSettingsFromDialog(panel, dialog));
    EXPECT_EQ(panel.difficulty, 3);
}

TEST(AboutDialogTest, OnlyOkClosesIt) {
    AboutDialog procedure;
    FakeDialogHost dialog{{ok}};
    dialog.open(procedure);
    EXPECT_EQ(dialog.focus, ok);
    // The version is written over the picture, which is the same for every release.
    EXPECT_EQ(dialog.texts[ControlId::AboutPicture], u"Version " BRICKETING_TEST_VERSION_U);
    EXPECT_FALSE(dialog.command(procedure, cancel));
    EXPECT_FALSE(dialog.ended);
    EXPECT_TRUE(dialog.command(procedure, ok));
    EXPECT_TRUE(dialog.ended);
    EXPECT_EQ(dialog.endResult, 0);
}

}  // namespace
