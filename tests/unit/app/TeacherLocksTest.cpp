// The teacher's file against what the pupil meets: one table of teacher's files (values
// set, locked, mistaken) with the pupil's own settings, what the lesson starts with,
// which Settings controls are greyed out, and what stands after a pupil tries to change
// every setting; then Create Question turned off.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/Application.h"
#include "app/Dialogs.h"
#include "fakes/FakeDialogHost.h"
#include "fakes/FakeDrawing.h"
#include "fakes/FakeHost.h"
#include "fakes/FakeSettingsStore.h"
#include "lesson/LessonPanel.h"
#include "resources/DialogTemplates.h"

namespace {

namespace Id = ControlId;

// The settings in a few words: wording, fills, level, hints, key facts, sound,
// language, contrast ("-" while the system's is followed).
std::string describe(const StoredSettings& s) {
    const PupilOptions& o = s.options;
    const char* facts[] = {"facts off", "facts shown", "facts fill"};
    return std::string(s.four.displayLotsOf ? "lotsof" : "times") +
           (s.four.autoProduct ? " product" : "") + (s.four.autoRemainder ? " remainder" : "") +
           " level" + std::to_string(s.four.difficulty) + (o.hints ? " hints" : " nohints") + " " +
           facts[static_cast<int>(o.keyFacts)] + (o.sound ? " sound" : " quiet") +
           " lang:" + o.language +
           " contrast:" + (o.contrastChosen ? (o.highContrast ? "high" : "normal") : "-");
}

const std::string pupilsOwn =
    "DISPLAY:TIMES\nAUTOPRODUCT:ON\nAUTOREMAINDER:OFF\nDIFFICULTY:NOVICE\nKEYFACTS:SHOWN";

struct TeacherCase {
    const char* name;
    const char* teacher;   // nullptr: no teacher's file
    const char* pupil;     // nullptr: the pupil has saved nothing
    std::string started;   // what the lesson starts with
    std::set<int> greyed;  // Settings controls that cannot be changed
    std::size_t mistakes;
    std::string afterChangingAll;  // after the pupil flips every control and presses OK
};

const TeacherCase cases[] = {
    {"no teacher's file",
     nullptr,
     pupilsOwn.c_str(),
     "times product level1 hints facts shown quiet lang: contrast:-",
     {},
     0,
     "lotsof remainder level4 nohints facts fill sound lang:en contrast:high"},
    {"starting values give way to the pupil's own",
     "DIFFICULTY:ADVANCED\nSOUND:ON\nHINTS:OFF",
     pupilsOwn.c_str(),
     "times product level1 nohints facts shown sound lang: contrast:-",
     {},
     0,
     "lotsof remainder level4 hints facts fill quiet lang:en contrast:high"},
    {"starting values for a pupil who saved nothing",
     "DIFFICULTY:ADVANCED\nSOUND:ON",
     nullptr,
     "lotsof level3 hints facts off sound lang: contrast:-",
     {},
     0,
     "times product remainder level4 nohints facts fill quiet lang:en contrast:high"},
    {"a locked difficulty",
     "DIFFICULTY:ADVANCED\nLOCK:DIFFICULTY",
     pupilsOwn.c_str(),
     "times product level3 hints facts shown quiet lang: contrast:-",
     {Id::Beginner, Id::Novice, Id::Intermediate, Id::Advanced, Id::Expert},
     0,
     "lotsof remainder level3 nohints facts fill sound lang:en contrast:high"},
    {"locks of everything the teacher sets",
     "// Class 5B\nHINTS:ON\nLOCK:HINTS\nKEYFACTS:FILLIN\nLOCK:KEYFACTS\nDISPLAY:LOTSOF\n"
     "LOCK:DISPLAY\nCONTRAST:HIGH\nLOCK:CONTRAST\nLANGUAGE:nl\nLOCK:LANGUAGE\r\n",
     pupilsOwn.c_str(),
     "lotsof product level1 hints facts fill quiet lang:nl contrast:high",
     {Id::Hints, Id::KeyFactsOff, Id::KeyFactsShown, Id::KeyFactsFillIn, Id::LotsOf, Id::Times,
      Id::HighContrast, Id::Language},
     0,
     "lotsof remainder level4 hints facts fill sound lang:nl contrast:high"},
    {"a lock without a value keeps the pupil's",
     "LOCK:SOUND\nLOCK:AUTOPRODUCT",
     "SOUND:ON",
     "lotsof level0 hints facts off sound lang: contrast:-",
     {Id::Sound, Id::AutoProduct},
     0,
     "times remainder level4 nohints facts fill sound lang:en contrast:high"},
    {"mistakes are reported and the rest applies",
     "DIFFICULTY:expert\nLOCK:SPEED\nVOLUME:11\njust words\nSOUND:ON\nLOCK:SOUND\n"
     "CREATEQUESTION:MAYBE",
     nullptr,
     "lotsof level0 hints facts off sound lang: contrast:-",
     {Id::Sound},
     5,
     "times product remainder level4 nohints facts fill sound lang:en contrast:high"},
};

class TeacherLocks : public ::testing::TestWithParam<TeacherCase> {};

// Every control the other way, the highest level, the key facts filled in and the
// first language after the system's.
void changeEverything(FakeDialogHost& dialog) {
    const int level = dialog.isChecked(Id::Expert) ? Id::Beginner : Id::Expert;
    dialog.checkRadioButton(Id::Beginner, Id::Expert, level);
    const int wording = dialog.isChecked(Id::LotsOf) ? Id::Times : Id::LotsOf;
    dialog.checkRadioButton(Id::LotsOf, Id::Times, wording);
    for (int id : {Id::AutoProduct, Id::AutoRemainder, Id::Hints, Id::Sound, Id::HighContrast}) {
        dialog.setChecked(id, !dialog.isChecked(id));
    }
    dialog.checkRadioButton(Id::KeyFactsOff, Id::KeyFactsFillIn, Id::KeyFactsFillIn);
    dialog.selectListItem(Id::Language, 1);
}

TEST_P(TeacherLocks, SettingsShowsAndAllowsWhatTheTeacherLeftOpen) {
    const TeacherCase& c = GetParam();
    FakeDrawingServices services;
    FakeSettingsStore store(c.pupil ? std::optional<std::string>(c.pupil) : std::nullopt);
    if (c.teacher != nullptr) {
        store.teacherText = c.teacher;
    }
    LessonPanel panel;
    EXPECT_EQ(describe(storedSettingsOf(panel)), c.started);
    EXPECT_EQ(panel.teacher.mistakes.size(), c.mistakes);
    EXPECT_EQ(panel.teacherFileMessage.empty(), c.mistakes == 0);

    SettingsDialog procedure(panel);
    FakeDialogHost dialog;
    dialog.open(procedure);
    std::set<int> greyed;
    for (const auto& [id, disabled] : dialog.disabled) {
        if (disabled) {
            greyed.insert(id);
        }
    }
    EXPECT_EQ(greyed, c.greyed);
    EXPECT_EQ(dialog.controlText(Id::TeacherNote).empty(), c.greyed.empty());
    ASSERT_FALSE(dialog.lists[Id::Language].empty());
    EXPECT_EQ(dialog.lists[Id::Language].front(), u"The system's language");

    changeEverything(dialog);
    EXPECT_TRUE(dialog.command(procedure, Id::Ok));
    EXPECT_EQ(describe(storedSettingsOf(panel)), c.afterChangingAll);
    // What was kept reads back to the same on the next start.
    FakeSettingsStore nextStart(store.text);
    nextStart.teacherText = store.teacherText;
    LessonPanel next;
    EXPECT_EQ(describe(storedSettingsOf(next)), c.afterChangingAll);
}

INSTANTIATE_TEST_SUITE_P(TeacherFiles, TeacherLocks, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<TeacherCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST(TeacherCreateQuestion, TurnedOffSaysSoInsteadOfOpening) {
    FakeDrawingServices services;
    registerProgramImageSizes(services);
    FakeSettingsStore store;
    store.teacherText = "CREATEQUESTION:OFF";
    FakeHost host;
    Application application(host);
    application.createMainWindow();
    application.runDialog(DialogId::CreateQuestion);
    EXPECT_TRUE(host.dialogsRun.empty());
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_NE(host.messageBoxes[0].text.find(u"turned Create Question off"), std::u16string::npos);
    application.runDialog(DialogId::Settings);
    EXPECT_EQ(host.dialogsRun.size(), 1u);  // Settings still opens
}

}  // namespace
