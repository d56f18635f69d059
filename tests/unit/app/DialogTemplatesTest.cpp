// The stored dialog templates as data: every control fits its dialog, ids are unique,
// the group marks make the radio groups the Settings dialog needs, and the tab stops
// lead from the dividend to the divisor.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "resources/DialogTemplates.h"

namespace {

const DialogTemplate& stored(DialogId number) {
    const DialogTemplate* dialog = findDialogTemplate(number);
    EXPECT_NE(dialog, nullptr) << "template " << static_cast<int>(number);
    static const DialogTemplate empty{};
    return dialog ? *dialog : empty;
}

TEST(DialogTemplatesTest, EveryControlIsUniqueAndInsideItsDialog) {
    for (DialogId number : {DialogId::Settings, DialogId::CreateQuestion, DialogId::About}) {
        const DialogTemplate& dialog = stored(number);
        std::set<int> ids;
        for (const ControlTemplate& control : dialog.controls) {
            EXPECT_TRUE(ids.insert(control.id).second) << "duplicate id " << control.id;
            EXPECT_GE(control.x, 0);
            EXPECT_GE(control.y, 0);
            EXPECT_LE(control.x + control.width, dialog.width) << "control " << control.id;
            EXPECT_LE(control.y + control.height, dialog.height) << "control " << control.id;
        }
        EXPECT_NE(findControl(dialog, ControlId::Ok), nullptr);
        EXPECT_EQ(findControl(dialog, ControlId::Ok)->kind, ControlKind::DefaultPushButton);
    }
}

TEST(DialogTemplatesTest, SettingsHasTheWordingAndTheDifficultyAsSeparateRadioGroups) {
    const std::vector<std::vector<int>> expected = {
        {ControlId::LotsOf, ControlId::Times},
        {ControlId::Beginner, ControlId::Novice, ControlId::Intermediate, ControlId::Advanced,
         ControlId::Expert},
        {ControlId::KeyFactsOff, ControlId::KeyFactsShown, ControlId::KeyFactsFillIn}};
    EXPECT_EQ(radioGroups(stored(DialogId::Settings)), expected);
    EXPECT_TRUE(radioGroups(stored(DialogId::CreateQuestion)).empty());
}

TEST(DialogTemplatesTest, TabStopsFollowTemplateOrderAndWrapRound) {
    const DialogTemplate& create = stored(DialogId::CreateQuestion);
    EXPECT_EQ(nextTabStop(create, ControlId::Dividend), ControlId::Divisor);
    EXPECT_EQ(nextTabStop(create, ControlId::Divisor), ControlId::Ok);
    EXPECT_EQ(nextTabStop(create, ControlId::Cancel), ControlId::Dividend);
    EXPECT_EQ(nextTabStop(create, ControlId::DivisionSign), ControlId::Divisor);
    EXPECT_EQ(nextTabStop(create, 0), ControlId::Ok);

    const DialogTemplate& settings = stored(DialogId::Settings);
    EXPECT_EQ(nextTabStop(settings, ControlId::Cancel), ControlId::AutoProduct);
    // The four settings' controls come first, then the column beside them, top down.
    EXPECT_EQ(nextTabStop(settings, ControlId::AutoRemainder), ControlId::Hints);
    EXPECT_EQ(nextTabStop(settings, ControlId::Hints), ControlId::KeyFactsOff);
    EXPECT_EQ(nextTabStop(settings, ControlId::KeyFactsFillIn), ControlId::Sound);
    EXPECT_EQ(nextTabStop(settings, ControlId::HighContrast), ControlId::Language);
    EXPECT_EQ(nextTabStop(settings, ControlId::Language), ControlId::Ok);

    EXPECT_EQ(nextTabStop(stored(DialogId::About), ControlId::Ok), ControlId::Ok);
}

// A dialog opened on the pointer: its middle pixel on the pointer, pulled back inside
// the work area (0 to 800 here), its start winning when it is longer than the area.
TEST(DialogTemplatesTest, ADialogOnThePointerIsCentredAndKeptInsideTheArea) {
    struct Case {
        int centre, size, start;
    };
    const Case cases[] = {{400, 101, 350}, {400, 100, 351}, {30, 100, 0},
                          {790, 100, 700}, {400, 900, 0},   {-50, 100, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(centredStart(c.centre, c.size, 0, 800), c.start) << c.centre << "/" << c.size;
        EXPECT_EQ(centredStart(c.centre + 200, c.size, 200, 1000), c.start + 200);
    }
}

}  // namespace
