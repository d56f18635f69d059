// Dialog units to page pixels and the radio groups, for the three stored dialogs.
#include <gtest/gtest.h>

#include <set>

#include "platform/web/WebDialogLayout.h"

namespace {

TEST(WebDialogLayout, DialogUnitsUseTheClassicBaseUnits) {
    struct Case {
        int units;
        int x;
        int y;
    };
    // 6 pixels per 4 horizontal units, 13 per 8 vertical, halves rounded away from zero.
    const Case cases[] = {{0, 0, 0},    {1, 2, 2},    {2, 3, 3},      {4, 6, 7},
                          {8, 12, 13},  {50, 75, 81}, {14, 21, 23},   {135, 203, 219},
                          {-1, -2, -2}, {-4, -6, -7}, {281, 422, 457}};
    for (const Case& c : cases) {
        EXPECT_EQ(dialogUnitsToPixelsX(c.units), c.x) << c.units;
        EXPECT_EQ(dialogUnitsToPixelsY(c.units), c.y) << c.units;
    }
}

TEST(WebDialogLayout, EveryControlLiesInsideItsDialog) {
    for (const DialogId number : {DialogId::Settings, DialogId::CreateQuestion, DialogId::About}) {
        const DialogTemplate* dialog = findDialogTemplate(number);
        ASSERT_NE(dialog, nullptr);
        const PixelBox client = clientBoxOf(*dialog);
        EXPECT_GT(client.width, 0);
        for (const ControlTemplate& control : dialog->controls) {
            const PixelBox box = pixelBoxOf(control);
            EXPECT_GE(box.x, 0) << static_cast<int>(number) << "/" << control.id;
            EXPECT_GE(box.y, 0) << static_cast<int>(number) << "/" << control.id;
            EXPECT_LE(box.x + box.width, client.width)
                << static_cast<int>(number) << "/" << control.id;
            EXPECT_LE(box.y + box.height, client.height)
                << static_cast<int>(number) << "/" << control.id;
        }
    }
}

TEST(WebDialogLayout, CreateQuestionIsPlacedAsItsTemplateSays) {
    const DialogTemplate& dialog = *findDialogTemplate(DialogId::CreateQuestion);
    const PixelBox client = clientBoxOf(dialog);
    EXPECT_EQ(client.width, 224);   // 149 units
    EXPECT_EQ(client.height, 117);  // 72 units
    const PixelBox dividend = pixelBoxOf(*findControl(dialog, ControlId::Dividend));
    const PixelBox divisor = pixelBoxOf(*findControl(dialog, ControlId::Divisor));
    EXPECT_EQ(dividend.x, 27);
    EXPECT_EQ(dividend.width, 65);
    EXPECT_LT(dividend.x + dividend.width, divisor.x);  // side by side, in that order
}

TEST(WebDialogLayout, RadioButtonsFormTheTemplatesGroups) {
    const DialogTemplate& settings = *findDialogTemplate(DialogId::Settings);
    const auto groups = radioGroupIndices(settings);
    ASSERT_EQ(groups.size(), settings.controls.size());
    auto groupOf = [&](int id) {
        for (std::size_t at = 0; at < settings.controls.size(); ++at) {
            if (settings.controls[at].id == id) {
                return groups[at];
            }
        }
        return -2;
    };
    const int wording = groupOf(ControlId::LotsOf);
    const int difficulty = groupOf(ControlId::Beginner);
    EXPECT_GE(wording, 0);
    EXPECT_GE(difficulty, 0);
    EXPECT_NE(wording, difficulty);
    EXPECT_EQ(groupOf(ControlId::Times), wording);
    for (int id = ControlId::Beginner; id <= ControlId::Expert; ++id) {
        EXPECT_EQ(groupOf(id), difficulty) << id;
    }
    for (const int id : {ControlId::Ok, ControlId::Cancel, ControlId::AutoProduct,
                         ControlId::AutoRemainder, ControlId::DifficultyGroup}) {
        EXPECT_EQ(groupOf(id), -1) << id;
    }
    const auto none = radioGroupIndices(*findDialogTemplate(DialogId::CreateQuestion));
    EXPECT_EQ(std::set<int>(none.begin(), none.end()), std::set<int>{-1});
}

// Every control of the three dialogs has a name a screen reader can give: its caption,
// or where it has none (the edits, the picture) a name of its own. A text the program
// fills in while the dialog is open (the teacher's note) is read as the text it holds.
TEST(WebDialogLayout, EveryControlHasAName) {
    EXPECT_EQ(accessibleNameOf(DialogId::CreateQuestion, ControlId::Dividend), u"Dividend");
    EXPECT_EQ(accessibleNameOf(DialogId::CreateQuestion, ControlId::Divisor), u"Divisor");
    EXPECT_NE(accessibleNameOf(DialogId::About, ControlId::AboutPicture).find(u"Bricketing"),
              std::u16string_view::npos);
    for (const DialogId number : {DialogId::Settings, DialogId::CreateQuestion, DialogId::About}) {
        for (const ControlTemplate& control : findDialogTemplate(number)->controls) {
            if (control.kind == ControlKind::StaticText && control.caption.empty()) {
                EXPECT_TRUE(accessibleNameOf(number, control.id).empty()) << control.id;
                continue;
            }
            EXPECT_NE(control.caption.empty(), accessibleNameOf(number, control.id).empty())
                << static_cast<int>(number) << "/" << control.id << ": named twice or not at all";
        }
    }
}

}  // namespace
