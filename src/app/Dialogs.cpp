// The dialog procedures, the settings writer they call, and the application's modal
// entry points: running a stored dialog, the exit prompt and the start-up message, each
// bracketed by the pause accounting so that animations resume where they stopped.
#include "app/Dialogs.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "lesson/Questions.h"
#include "lesson/SettingsFile.h"
#include "lesson/TeacherFile.h"
#include "resources/DialogTemplates.h"
#include "words/Words.h"

namespace {

constexpr int lowestDifficulty = 0;
constexpr int highestDifficulty = ControlId::Expert - ControlId::Beginner;
constexpr int dividendLimit = largestDividend + 1;  // dividends must stay below it

// The refusals of Create Question, marked for the catalogue and shown in the pupil's
// language.
constexpr const char* dividendTooLarge =
    trNoop("The dividend (number being divided) must be less than 10,000.");
constexpr const char* divisorOutOfRange =
    trNoop("The divisor (number dividing by) must be between 2 and 99.");
constexpr const char* dividendNotLarger = trNoop(
    "The dividend (number being divided) must be larger than the divisor (number "
    "dividing by).");

bool isWhiteSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

void refuse(DialogHost& dialog, const char* message) {
    dialog.messageBox(tr(message), tr("Error"), MessageBoxButtons::Ok);
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

// Each setting's controls, which a teacher's lock disables together.
struct LockedControls {
    SettingKey key;
    std::vector<int> ids;
};

const std::vector<LockedControls>& controlsOfSettings() {
    static const std::vector<LockedControls> controls = {
        {SettingKey::Display, {ControlId::LotsOf, ControlId::Times}},
        {SettingKey::AutoProduct, {ControlId::AutoProduct}},
        {SettingKey::AutoRemainder, {ControlId::AutoRemainder}},
        {SettingKey::Difficulty,
         {ControlId::Beginner, ControlId::Novice, ControlId::Intermediate, ControlId::Advanced,
          ControlId::Expert}},
        {SettingKey::Hints, {ControlId::Hints}},
        {SettingKey::KeyFacts,
         {ControlId::KeyFactsOff, ControlId::KeyFactsShown, ControlId::KeyFactsFillIn}},
        {SettingKey::Sound, {ControlId::Sound}},
        {SettingKey::Language, {ControlId::Language}},
        {SettingKey::Contrast, {ControlId::HighContrast}},
    };
    return controls;
}

// The language list: the system's language first, then every catalogue, and the code a
// settings file named when the program has no catalogue for it (kept, not lost).
std::vector<std::string> languageChoices(const std::string& current) {
    std::vector<std::string> codes{""};
    for (const std::string& code : words::availableLanguages()) {
        codes.push_back(code);
    }
    if (std::find(codes.begin(), codes.end(), current) == codes.end()) {
        codes.push_back(current);
    }
    return codes;
}

std::u16string languageCaption(const std::string& code) {
    return code.empty() ? tr("The system's language") : words::languageName(code);
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
    const StoredSettings current = storedSettingsOf(panel);
    StoredSettings stored = current;
    UserSettings& settings = stored.four;
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
    PupilOptions& options = stored.options;
    options.hints = dialog.isChecked(ControlId::Hints);
    for (int id = ControlId::KeyFactsOff; id <= ControlId::KeyFactsFillIn; ++id) {
        if (dialog.isChecked(id)) {
            options.keyFacts = static_cast<KeyFactsMode>(id - ControlId::KeyFactsOff);
        }
    }
    options.sound = dialog.isChecked(ControlId::Sound);
    // The box shows the contrast in force; only a change makes it the pupil's choice.
    const bool highContrast = dialog.isChecked(ControlId::HighContrast);
    if (highContrast != panel.highContrastInForce()) {
        options.highContrast = highContrast;
        options.contrastChosen = true;
    }
    const std::vector<std::string> languages = languageChoices(current.options.language);
    const int language = dialog.selectedListItem(ControlId::Language);
    if (language >= 0 && language < static_cast<int>(languages.size())) {
        options.language = languages[static_cast<std::size_t>(language)];
    }
    stored = withLockedKept(panel.teacher, stored, current);
    applyStoredSettings(panel, stored);
    if (stored.options.language != current.options.language && !stored.options.language.empty()) {
        words::useLanguage(stored.options.language);
    }
    return keepStoredSettings(stored, panel.startingOptions);
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

    const PupilOptions& options = panel.options;
    dialog.setChecked(ControlId::Hints, options.hints);
    dialog.checkRadioButton(ControlId::KeyFactsOff, ControlId::KeyFactsFillIn,
                            ControlId::KeyFactsOff + static_cast<int>(options.keyFacts));
    dialog.setChecked(ControlId::Sound, options.sound);
    dialog.setChecked(ControlId::HighContrast, panel.highContrastInForce());
    const std::vector<std::string> languages = languageChoices(options.language);
    std::vector<std::u16string> names;
    for (const std::string& code : languages) {
        names.push_back(languageCaption(code));
    }
    dialog.setListItems(ControlId::Language, names);
    const auto chosen = std::find(languages.begin(), languages.end(), options.language);
    dialog.selectListItem(ControlId::Language, static_cast<int>(chosen - languages.begin()));

    // What the teacher locked is shown but cannot be changed, with one line saying why.
    for (const LockedControls& setting : controlsOfSettings()) {
        const bool locked = panel.teacher.isLocked(setting.key);
        for (int id : setting.ids) {
            dialog.setEnabled(id, !locked);
        }
    }
    dialog.setControlText(ControlId::TeacherNote,
                          panel.teacher.locksAny()
                              ? tr("The settings shown greyed out are set by your teacher.")
                              : std::u16string());
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

// The version goes over the picture, in its own words: the picture is the same for
// every release.
bool AboutDialog::initDialog(DialogHost& dialog) {
    dialog.setControlText(ControlId::AboutPicture, aboutVersionText());
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
    if (dialog == DialogId::CreateQuestion && !lessonPanel->teacher.createQuestion) {
        endInterruptedDrag(*this);
        beginModalPause();
        host.messageBox(MessageBoxOwner::MainWindow,
                        tr("Your teacher has turned Create Question off. Use New Question "
                           "for the next question."),
                        tr("Create Question"), MessageBoxButtons::Ok);
        endModalPause();
        return;
    }
    endInterruptedDrag(*this);
    beginModalPause();
    host.runDialog(dialog, *procedure);
    if (dialog == DialogId::Settings) {
        applyLanguage();
    }
    endModalPause();
}

bool Application::confirmExit() {
    endInterruptedDrag(*this);
    beginModalPause();
    const MessageBoxAnswer answer =
        host.messageBox(MessageBoxOwner::MainWindow, tr("Finished bricketing for today?"),
                        tr("Had enough?"), MessageBoxButtons::YesNo);
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
    for (std::u16string* pending :
         {&startUpError, lessonPanel ? &lessonPanel->levelFileMessage : nullptr,
          lessonPanel ? &lessonPanel->teacherFileMessage : nullptr}) {
        if (pending == nullptr || pending->empty()) {
            continue;
        }
        const std::u16string message = std::exchange(*pending, u"");
        beginModalPause();
        host.messageBox(MessageBoxOwner::MainWindow, message, tr("Error"), MessageBoxButtons::Ok);
        endModalPause();
    }
}
