// The picker's layout, in dialog units: buttons 100 wide and 22 high (about 150 x 36
// pixels at 96 dots per inch, a comfortable target for a finger), in as many columns as
// keep the dialog within the 600-pixel window's height for a class of up to sixty.
#include "features/classroom/PupilPicker.h"

#include <algorithm>

#include "words/Words.h"

namespace {

constexpr int margin = 7;
constexpr int promptHeight = 12;
constexpr int buttonWidth = 100;
constexpr int buttonHeight = 22;
constexpr int gap = 4;

int columnsFor(std::size_t count) {
    if (count <= 4) {
        return 1;
    }
    if (count <= 16) {
        return 2;
    }
    return count <= 36 ? 3 : 4;
}

}  // namespace

PupilPickerTemplate::PupilPickerTemplate(std::vector<std::u16string> names)
    : pupils(std::move(names)), caption(tr("Who is practising?")), prompt(tr("Choose your name.")) {
    const int columns = columnsFor(pupils.size());
    const int rows = (static_cast<int>(pupils.size()) + columns - 1) / columns;
    const int width = 2 * margin + columns * buttonWidth + (columns - 1) * gap;
    const int top = margin + promptHeight + gap;
    const int height = top + rows * (buttonHeight + gap) - gap + margin;
    controls.push_back(
        {0, ControlKind::StaticText, prompt, margin, margin, width - 2 * margin, promptHeight, 0});
    for (std::size_t index = 0; index < pupils.size(); ++index) {
        const int column = static_cast<int>(index) % columns;
        const int row = static_cast<int>(index) / columns;
        controls.push_back({firstPupilControl + static_cast<int>(index),
                            index == 0 ? ControlKind::DefaultPushButton : ControlKind::PushButton,
                            pupils[index], margin + column * (buttonWidth + gap),
                            top + row * (buttonHeight + gap), buttonWidth, buttonHeight,
                            ControlStyle::TabStop | (index == 0 ? ControlStyle::GroupStart : 0u)});
    }
    layout = {
        DialogId::PupilPicker,           caption, width, height,  u"MS Shell Dlg", 8, 400, false,
        DialogPlacement::CentreOnScreen, false,   false, controls};
    useRuntimeDialogTemplate(&layout);
}

PupilPickerTemplate::~PupilPickerTemplate() {
    if (findDialogTemplate(DialogId::PupilPicker) == &layout) {
        useRuntimeDialogTemplate(nullptr);
    }
}

bool PupilPickerDialog::initDialog(DialogHost& dialog) {
    dialog.setFocus(firstPupilControl);
    return true;
}

bool PupilPickerDialog::command(DialogHost& dialog, int commandId) {
    // Enter comes as OK on some platforms: it chooses the name that has the focus.
    if (commandId == ControlId::Ok) {
        commandId = dialog.focusedControl();
    }
    const int index = commandId - firstPupilControl;
    if (index < 0 || index >= static_cast<int>(picker.names().size())) {
        return true;  // Escape and the rest: the dialog stays until a name is chosen
    }
    chosenName = picker.names()[static_cast<std::size_t>(index)];
    dialog.end(index);
    return true;
}
