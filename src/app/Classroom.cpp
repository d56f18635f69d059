// A shared device: before the first question, the pupil picks their name from the
// teacher's class list; their own settings are then read (a new pupil starts from the
// class's settings) and a question is drawn at their level, told to the listeners as
// the first one, so the practice record counts it as theirs.
#include <optional>

#include "app/Application.h"
#include "features/classroom/ClassList.h"
#include "features/classroom/PupilPicker.h"
#include "platform/ClassListStore.h"
#include "platform/Pupil.h"

void Application::askWhoIsPractising() {
    ClassListStore* store = classListStore();
    if (!lessonPanel || store == nullptr) {
        return;
    }
    const std::optional<std::string> text = store->read();
    if (!text) {
        return;
    }
    std::vector<std::u16string> names = readClassList(*text);
    if (names.empty()) {
        return;
    }
    const PupilPickerTemplate picker(std::move(names));
    PupilPickerDialog procedure(picker);
    beginModalPause();
    host.runDialog(DialogId::PupilPicker, procedure);
    endModalPause();
    if (procedure.chosen().empty()) {
        return;  // the window went away before a name was chosen
    }
    setCurrentPupil(procedure.chosen());
    store->pupilChosen(procedure.chosen());
    lessonPanel->loadSettings();
    lessonPanel->newRandomQuestion();
    lessonPanel->startQuestion(lessonPanel->dividend, lessonPanel->divisor, false);
}
