// "Who is practising?": the class list's names as large buttons in a modal dialog, in
// rows of up to four, with a line of words above them. Each name is a real button of
// the platform's, so a finger taps it, Tab and Enter reach it and a screen reader reads
// the names as a list of buttons. The dialog has no Cancel: a class's device always
// knows whose work it records.
#pragma once

#include <string>
#include <vector>

#include "platform/Host.h"
#include "resources/DialogTemplates.h"

// The first name's control id; the others follow in the list's order.
inline constexpr int firstPupilControl = 2001;

class PupilPickerTemplate {
public:
    explicit PupilPickerTemplate(std::vector<std::u16string> names);
    ~PupilPickerTemplate();
    PupilPickerTemplate(const PupilPickerTemplate&) = delete;
    PupilPickerTemplate& operator=(const PupilPickerTemplate&) = delete;

    const DialogTemplate& dialog() const { return layout; }
    const std::vector<std::u16string>& names() const { return pupils; }

private:
    std::vector<std::u16string> pupils;
    std::u16string caption;
    std::u16string prompt;
    std::vector<ControlTemplate> controls;
    DialogTemplate layout;
};

class PupilPickerDialog : public DialogProcedure {
public:
    explicit PupilPickerDialog(const PupilPickerTemplate& picker) : picker(picker) {}
    bool initDialog(DialogHost& dialog) override;
    // A name's button ends the dialog with that name chosen; nothing else closes it.
    bool command(DialogHost& dialog, int commandId) override;
    const std::u16string& chosen() const { return chosenName; }

private:
    const PupilPickerTemplate& picker;
    std::u16string chosenName;
};
