// The dialog procedures, the settings writer they call, and the application's modal
// entry points: running a stored dialog, the exit prompt and the start-up message, each
// bracketed by the pause accounting so that animations resume where they stopped.
#include "app/Dialogs.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <utility>

#include "app/Application.h"
#include "lesson/SettingsFile.h"
#include "resources/DialogTemplates.h"

namespace {

constexpr int lowestDifficulty = 0;
constexpr int highestDifficulty = ControlId::Expert - ControlId::Beginner;
constexpr int dividendLimit = 10000;  // dividends must stay below it
constexpr int smallestDivisor = 2;
constexpr int largestDivisor = 99;

const std::u16string errorCaption = u"Error";
const std::u16string dividendTooLarge =
    u"The dividend (number being divided) must be less than 10,000.";
const std::u16string divisorOutOfRange =
    u"The divisor (number dividing by) must be between 2 and 99.";
const std::u16string dividendNotLarger =
    u"The dividend (number being divided) must be larger than the divisor (number dividing "
    u"by).";

bool isWhiteSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

void refuse(DialogHost& dialog, const std::u16string& message) {
    dialog.messageBox(message, errorCaption, MessageBoxButtons::Ok);
}

// Empties a field the pupil must type again and puts the focus there.
void clearAndFocus(DialogHost& dialog, int controlId) {
    dialog.setControlText(controlId, u"");
    dialog.setFocus(controlId);
}

std::unique_ptr<DialogProcedure> makeProcedure(DialogId dialog, LessonPanel* panel) {
    switch (dialog) {
        case DialogId::About:
            return std::make_unique<AboutDialog>();
        case DialogId::Settings:
            return panel ? std::make_unique<SettingsDialog>(*panel) : nullptr;
        case DialogId::CreateQuestion:
            return panel ? std::make_unique<CreateQuestionDialog>(*panel) : nullptr;
        case DialogId::PupilPicker:
            return nullptr;  // made with its names by askWhoIsPractising
    }
    return nullptr;
}

// A modal window takes the mouse from the main window: the release of a press held
// when it opens goes to the modal window, and no release reaches the main window
// afterwards. A drag of the working-out is therefore ended here, as that release
// would have ended it, instead of following the pointer with the button up.
void endInterruptedDrag(Application& app) {
    if (app.lessonPanel) {
        app.lessonPanel->board.glideport.pointerUp();
    }
}

}  // namespace

int wideTextToInt(const std::u16string& text) {
    std::size_t at = 0;
    while (at < text.size() && isWhiteSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    // Accumulated in 64 bits and capped as soon as it leaves the int range, so any
    // number of digits is safe.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        magnitude = std::min(limit, magnitude * 10 + (text[at] - u'0'));
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool saveSettingsFromDialog(LessonPanel& panel, DialogHost& dialog) {
    UserSettings settings = settingsOf(panel);
    settings.autoProduct = dialog.isChecked(ControlId::AutoProduct);
    settings.autoRemainder = dialog.isChecked(ControlId::AutoRemainder);
    settings.displayLotsOf = dialog.isChecked(ControlId::LotsOf);
    // Rising order, so were several checked the highest would win; with none the
    // difficulty stays as it was.
    for (int id = ControlId::Beginner; id <= ControlId::Expert; ++id) {
        if (dialog.isChecked(id)) {
            settings.difficulty = id - ControlId::Beginner;
        }
    }
    applySettings(panel, settings);
    return keepSettings(settings);
}

bool SettingsDialog::initDialog(DialogHost& dialog) {
    const UserSettings settings = settingsOf(panel);
    // Clamped so that one difficulty is always selected.
    const int difficulty = std::clamp(settings.difficulty, lowestDifficulty, highestDifficulty);
    dialog.checkRadioButton(ControlId::Beginner, ControlId::Expert,
                            ControlId::Beginner + difficulty);
    dialog.checkRadioButton(ControlId::LotsOf, ControlId::Times,
                            settings.displayLotsOf ? ControlId::LotsOf : ControlId::Times);
    dialog.setChecked(ControlId::AutoProduct, settings.autoProduct);
    dialog.setChecked(ControlId::AutoRemainder, settings.autoRemainder);
    return false;
}

bool SettingsDialog::command(DialogHost& dialog, int commandId) {
    if (commandId == ControlId::Ok) {
        saveSettingsFromDialog(panel, dialog);
        dialog.end(0);
        return true;
    }
    if (commandId == ControlId::Cancel) {
        dialog.end(0);
        return true;
    }
    return false;
}

bool CreateQuestionDialog::initDialog(DialogHost& dialog) {
    dialog.setFocus(ControlId::Dividend);
    return true;
}

bool CreateQuestionDialog::command(DialogHost& dialog, int commandId) {
    if (commandId == ControlId::Cancel) {
        dialog.end(0);
        return true;
    }
    if (commandId != ControlId::Ok) {
        return false;
    }
    // Enter arrives as OK wherever it is pressed, so the focus tells a dividend just
    // typed from a finished question.
    if (dialog.focusedControl() == ControlId::Dividend) {
        return checkDividendAlone(dialog);
    }
    return startTypedQuestion(dialog);
}

bool CreateQuestionDialog::checkDividendAlone(DialogHost& dialog) {
    const int dividend = wideTextToInt(dialog.controlText(ControlId::Dividend));
    if (dividend >= dividendLimit) {
        refuse(dialog, dividendTooLarge);
        clearAndFocus(dialog, ControlId::Dividend);
    } else {
        dialog.postNextControl();
    }
    return true;
}

bool CreateQuestionDialog::startTypedQuestion(DialogHost& dialog) {
    const int dividend = wideTextToInt(dialog.controlText(ControlId::Dividend));
    const int divisor = wideTextToInt(dialog.controlText(ControlId::Divisor));
    if (!validateQuestion(dialog, dividend, divisor)) {
        return true;
    }
    panel.leaveQuestion(LeftBy::CreateQuestion);
    panel.startQuestion(dividend, divisor, true);
    dialog.end(0);
    return true;
}

bool CreateQuestionDialog::validateQuestion(DialogHost& dialog, int dividend, int divisor) {
    if (dividend >= dividendLimit) {
        refuse(dialog, dividendTooLarge);
        clearAndFocus(dialog, ControlId::Dividend);
        return false;
    }
    if (divisor < smallestDivisor || divisor > largestDivisor) {
        refuse(dialog, divisorOutOfRange);
        clearAndFocus(dialog, ControlId::Divisor);
        return false;
    }
    if (dividend <= divisor) {
        refuse(dialog, dividendNotLarger);
        dialog.setFocus(ControlId::Dividend);  // both numbers stay for the pupil to fix
        return false;
    }
    return true;
}

bool AboutDialog::initDialog(DialogHost&) {
    return false;
}

bool AboutDialog::command(DialogHost& dialog, int commandId) {
    if (commandId != ControlId::Ok) {
        return false;
    }
    dialog.end(0);
    return true;
}

void Application::runDialog(DialogId dialog) {
    // The Settings and Create Question dialogs edit the lesson; without one there is
    // nothing for them to show or change.
    const auto procedure = makeProcedure(dialog, lessonPanel.get());
    if (!procedure) {
        return;
    }
    endInterruptedDrag(*this);
    beginModalPause();
    host.runDialog(dialog, *procedure);
    endModalPause();
}

bool Application::confirmExit() {
    endInterruptedDrag(*this);
    beginModalPause();
    const MessageBoxAnswer answer =
        host.messageBox(MessageBoxOwner::MainWindow, u"Finished bricketing for today?",
                        u"Had enough?", MessageBoxButtons::YesNo);
    endModalPause();
    if (answer != MessageBoxAnswer::Yes) {
        return false;
    }
    if (lessonPanel) {
        lessonPanel->leaveQuestion(LeftBy::Exit);
    }
    // The window is gone from here on, as it is at once when the window system
    // destroys it, even though its Destroy message is still on its way.
    windowDestroyed = true;
    host.destroyMainWindow();
    return true;
}

// What the lesson found wrong while it started (a level file a teacher must mend) is
// said once, in a box over the window, and like every modal box its time is left out
// of the animations.
void Application::showStartUpMessage() {
    if (!lessonPanel || lessonPanel->levelFileMessage.empty()) {
        return;
    }
    const std::u16string message = std::exchange(lessonPanel->levelFileMessage, u"");
    beginModalPause();
    host.messageBox(MessageBoxOwner::MainWindow, message, errorCaption, MessageBoxButtons::Ok);
    endModalPause();
}
