// The stored dialog templates as data: every control fits its dialog, ids are unique,
// the group marks make the radio groups the Settings dialog needs, and the tab stops
// lead from the dividend to the divisor.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "resources/DialogTemplates.h"

namespace {

const DialogTemplate& stored(int number) {
    const DialogTemplate* dialog = findDialogTemplate(number);
    EXPECT_NE(dialog, nullptr) << "template " << number;
    static const DialogTemplate empty{};
    return dialog ? *dialog : empty;
}

TEST(DialogTemplatesTest, EveryControlIsUniqueAndInsideItsDialog) {
    for (int number : {DialogNumber::Settings, DialogNumber::CreateQuestion, DialogNumber::About}) {
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
    EXPECT_EQ(radioGroups(stored(DialogNumber::Settings)), expected);
    EXPECT_TRUE(radioGroups(stored(DialogNumber::CreateQuestion)).empty());
}

TEST(DialogTemplatesTest, TabStopsFollowTemplateOrderAndWrapRound) {
    const DialogTemplate& create = stored(DialogNumber::CreateQuestion);
    EXPECT_EQ(nextTabStop(create, ControlId::Dividend), ControlId::Divisor);
    EXPECT_EQ(nextTabStop(create, ControlId::Divisor), ControlId::Ok);
    EXPECT_EQ(nextTabStop(create, ControlId::Cancel), ControlId::Dividend);
    EXPECT_EQ(nextTabStop(create, ControlId::DivisionSign), ControlId::Divisor);
    EXPECT_EQ(nextTabStop(create, 0), ControlId::Ok);

    const DialogTemplate& settings = stored(DialogNumber::Settings);
    EXPECT_EQ(nextTabStop(settings, ControlId::Cancel), ControlId::AutoProduct);
    // The four settings' controls come first, then the column beside them, top down.
    EXPECT_EQ(nextTabStop(settings, ControlId::AutoRemainder), ControlId::Hints);
    EXPECT_EQ(nextTabStop(settings, ControlId::Hints), ControlId::KeyFactsOff);
    EXPECT_EQ(nextTabStop(settings, ControlId::KeyFactsFillIn), ControlId::Sound);
    EXPECT_EQ(nextTabStop(settings, ControlId::HighContrast), ControlId::Language);
    EXPECT_EQ(nextTabStop(settings, ControlId::Language), ControlId::Ok);

    EXPECT_EQ(nextTabStop(stored(DialogNumber::About), ControlId::Ok), ControlId::Ok);
}

}  // namespace
