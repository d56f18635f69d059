// The stored dialog templates (Settings, Create Question, About) and the lookups the
// backends build them with.
#include "resources/DialogTemplates.h"

#include "words/Words.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "words/Words.h"

namespace {

using namespace ControlStyle;
using Kind = ControlKind;

// Settings: difficulty on the left, the working-out options and the wording beside it,
// OK and Cancel below them; to the right the help a pupil gets, sound, colours and the
// language, with the teacher's note under them.
constexpr ControlTemplate settingsControls[] = {
    {ControlId::Ok, Kind::DefaultPushButton, trNoop(u"OK"), 24, 135, 50, 14, TabStop},
    {ControlId::Cancel, Kind::PushButton, trNoop(u"Cancel"), 106, 135, 50, 14, TabStop},
    {ControlId::WorkingOutGroup, Kind::GroupBox, trNoop(u"Working Out"), 91, 7, 78, 64, 0},
    {ControlId::AutoProduct, Kind::CheckBox, trNoop(u"AutoProduct"), 100, 20, 64, 15,
     TabStop | GroupStart},
    {ControlId::AutoRemainder, Kind::CheckBox, trNoop(u"AutoRemainder"), 100, 44, 64, 16,
     TabStop | GroupStart},
    {ControlId::DisplayGroup, Kind::GroupBox, trNoop(u"Display"), 90, 72, 78, 56, 0},
    {ControlId::LotsOf, Kind::RadioButton, trNoop(u"\"lots of\""), 100, 83, 44, 19, GroupStart},
    {ControlId::Times, Kind::RadioButton, trNoop(u"\"x\""), 100, 100, 30, 16, 0},
    {ControlId::Beginner, Kind::RadioButton, trNoop(u"Beginner"), 15, 17, 55, 21, GroupStart},
    {ControlId::Novice, Kind::RadioButton, trNoop(u"Novice"), 15, 37, 55, 21, 0},
    {ControlId::Intermediate, Kind::RadioButton, trNoop(u"Intermediate"), 15, 57, 55, 21, 0},
    {ControlId::Advanced, Kind::RadioButton, trNoop(u"Advanced"), 15, 77, 55, 21, 0},
    {ControlId::Expert, Kind::RadioButton, trNoop(u"Expert"), 15, 97, 55, 21, 0},
    {ControlId::DifficultyGroup, Kind::GroupBox, trNoop(u"Difficulty"), 6, 6, 72, 121, 0},
    {ControlId::HelpGroup, Kind::GroupBox, trNoop(u"Help"), 176, 6, 152, 58, 0},
    {ControlId::Hints, Kind::CheckBox, trNoop(u"Hints after a wrong entry"), 184, 17, 138, 12,
     TabStop | GroupStart},
    {ControlId::KeyFactsLabel, Kind::StaticText, trNoop(u"Key facts box:"), 184, 31, 138, 9,
     GroupStart},
    {ControlId::KeyFactsOff, Kind::RadioButton, trNoop(u"Off"), 184, 42, 36, 12,
     TabStop | GroupStart},
    {ControlId::KeyFactsShown, Kind::RadioButton, trNoop(u"Shown"), 222, 42, 44, 12, TabStop},
    {ControlId::KeyFactsFillIn, Kind::RadioButton, trNoop(u"Fill it in"), 268, 42, 56, 12, TabStop},
    {ControlId::SoundAndScreenGroup, Kind::GroupBox, trNoop(u"Sound and screen"), 176, 68, 152, 59,
     0},
    {ControlId::Sound, Kind::CheckBox, trNoop(u"Sound"), 184, 79, 138, 12, TabStop | GroupStart},
    {ControlId::HighContrast, Kind::CheckBox, trNoop(u"High contrast colours"), 184, 93, 138, 12,
     TabStop | GroupStart},
    {ControlId::LanguageLabel, Kind::StaticText, trNoop(u"Language:"), 184, 110, 44, 9, GroupStart},
    {ControlId::Language, Kind::DropDownList, u"", 228, 107, 94, 14, TabStop | GroupStart},
    {ControlId::TeacherNote, Kind::StaticText, u"", 176, 131, 152, 20, GroupStart},
};

// Create Question: dividend, division sign and divisor on one line above OK and
// Cancel. Tab order runs from the dividend straight to the divisor.
constexpr ControlTemplate createQuestionControls[] = {
    {ControlId::Ok, Kind::DefaultPushButton, trNoop(u"OK"), 7, 51, 50, 14, TabStop},
    {ControlId::Cancel, Kind::PushButton, trNoop(u"Cancel"), 92, 51, 50, 14, TabStop},
    {ControlId::Dividend, Kind::Edit, u"", 18, 19, 43, 15,
     Border | TabStop | DigitsOnly | AutoHorizontalScroll | WantReturn},
    {ControlId::DivisionSign, Kind::StaticText, u"\u00F7", 68, 21, 13, 16, GroupStart},
    {ControlId::Divisor, Kind::Edit, u"", 80, 19, 29, 14,
     Border | TabStop | DigitsOnly | AutoHorizontalScroll},
};

// About: the stored picture with the OK button over its lower right part.
constexpr ControlTemplate aboutControls[] = {
    {ControlId::AboutPicture, Kind::StaticPicture, u"", 7, 7, 267, 106, 0, aboutBitmapNumber},
    {ControlId::Ok, Kind::DefaultPushButton, trNoop(u"OK"), 211, 76, 41, 14, TabStop},
};

constexpr std::u16string_view dialogFont = u"MS Shell Dlg";

const DialogTemplate templates[] = {
    {DialogId::Settings, trNoop(u"Settings"), 334, 156, dialogFont, 8, 400, true,
     DialogPlacement::CentreOnScreen, true, false, settingsControls},
    {DialogId::CreateQuestion, trNoop(u"Create Question"), 149, 72, dialogFont, 8, 400, true,
     DialogPlacement::CentreOnPointer, false, false, createQuestionControls},
    {DialogId::About, trNoop(u"About"), 281, 120, dialogFont, 8, 400, false,
     DialogPlacement::CentreOnScreen, false, true, aboutControls},
};

}  // namespace

namespace {
const DialogTemplate* runtimeTemplate = nullptr;
}

void useRuntimeDialogTemplate(const DialogTemplate* dialog) {
    runtimeTemplate = dialog;
}

const DialogTemplate* findDialogTemplate(DialogId number) {
    if (runtimeTemplate != nullptr && runtimeTemplate->number == number) {
        return runtimeTemplate;
    }
    const auto found =
        std::find_if(std::begin(templates), std::end(templates),
                     [number](const DialogTemplate& t) { return t.number == number; });
    return found == std::end(templates) ? nullptr : &*found;
}

const ControlTemplate* findControl(const DialogTemplate& dialog, int controlId) {
    const auto found =
        std::find_if(dialog.controls.begin(), dialog.controls.end(),
                     [controlId](const ControlTemplate& c) { return c.id == controlId; });
    return found == dialog.controls.end() ? nullptr : &*found;
}

std::vector<std::vector<int>> radioGroups(const DialogTemplate& dialog) {
    std::vector<std::vector<int>> groups;
    std::vector<int> current;
    for (const ControlTemplate& control : dialog.controls) {
        if ((control.styles & GroupStart) != 0 && !current.empty()) {
            groups.push_back(current);
            current.clear();
        }
        if (control.kind == Kind::RadioButton) {
            current.push_back(control.id);
        }
    }
    if (!current.empty()) {
        groups.push_back(current);
    }
    return groups;
}

int nextTabStop(const DialogTemplate& dialog, int controlId) {
    const auto controls = dialog.controls;
    const auto count = static_cast<std::ptrdiff_t>(controls.size());
    const auto from =
        std::find_if(controls.begin(), controls.end(),
                     [controlId](const ControlTemplate& c) { return c.id == controlId; });
    // Starting one before the first control makes an unknown id begin at the top.
    const std::ptrdiff_t start = from == controls.end() ? -1 : from - controls.begin();
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const ControlTemplate& candidate =
            controls[static_cast<std::size_t>((start + step) % count)];
        if ((candidate.styles & TabStop) != 0) {
            return candidate.id;
        }
    }
    return 0;
}

std::u16string shownCaption(const ControlTemplate& control) {
    if (control.id == ControlId::DivisionSign) {
        // Translators: the division sign between the two boxes of Create Question.
        return trc("division sign", "\u00F7");
    }
    return control.caption.empty() ? std::u16string() : tr(words::toUtf8(control.caption));
}

std::u16string shownCaption(const DialogTemplate& dialog) {
    return tr(words::toUtf8(dialog.caption));
}

std::u16string accessibleControlName(DialogId dialog, int controlId) {
    if (dialog != DialogId::CreateQuestion) {
        return {};
    }
    switch (controlId) {
        case ControlId::Dividend:
            return tr("Dividend");
        case ControlId::Divisor:
            return tr("Divisor");
        default:
            return {};
    }
}

int dialogUnitsToPixelsX(int units, double scale) {
    return static_cast<int>(std::lround(units * (6.0 / 4.0) * scale));
}

int dialogUnitsToPixelsY(int units, double scale) {
    return static_cast<int>(std::lround(units * (13.0 / 8.0) * scale));
}

int centredStart(int centre, int size, int areaStart, int areaEnd) {
    return std::max(std::min(centre - (size - 1) / 2, areaEnd - size), areaStart);
}
