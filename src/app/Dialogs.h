// What the three stored dialogs do, written once above the platform layer: Settings
// shows and stores the four settings, Create Question checks a typed question and
// starts it, About only closes through its OK button.
#pragma once

#include <string>

#include "lesson/LessonPanel.h"
#include "platform/Host.h"

// Reads a number the way the C runtime's wide atoi does: leading white space, an
// optional sign, then decimal digits up to the first other character; 0 when there
// are none. Unlike it, a value beyond the int range saturates instead of overflowing.
int wideTextToInt(const std::u16string& text);

// Reads the Settings dialog's controls, stores the four values in the lesson panel and
// its board at once, then rewrites the settings file. True when the file was written;
// the new values stand either way.
bool saveSettingsFromDialog(LessonPanel& panel, DialogHost& dialog);

class SettingsDialog : public DialogProcedure {
public:
    explicit SettingsDialog(LessonPanel& panel) : panel(panel) {}
    // Sets the controls from the current values; the first tab stop gets the focus.
    bool initDialog(DialogHost& dialog) override;
    // OK stores and writes the settings, Cancel stores nothing; both close the dialog.
    bool command(DialogHost& dialog, int commandId) override;

private:
    LessonPanel& panel;
};

class CreateQuestionDialog : public DialogProcedure {
public:
    explicit CreateQuestionDialog(LessonPanel& panel) : panel(panel) {}
    // Puts the focus in the dividend field.
    bool initDialog(DialogHost& dialog) override;
    // Enter in the dividend field checks the dividend alone and moves on to the
    // divisor; Enter elsewhere or OK checks both and starts the question; Cancel
    // closes with the lesson unchanged.
    bool command(DialogHost& dialog, int commandId) override;
    // Checks a typed question in a fixed order and stops at the first failure: the
    // dividend below 10,000, the divisor from 2 to 99, the dividend above the divisor.
    // A failure is shown in a message box and leaves the focus on the field to fix.
    static bool validateQuestion(DialogHost& dialog, int dividend, int divisor);

private:
    bool checkDividendAlone(DialogHost& dialog);
    bool startTypedQuestion(DialogHost& dialog);

    LessonPanel& panel;
};

class AboutDialog : public DialogProcedure {
public:
    bool initDialog(DialogHost& dialog) override;
    // Only OK (or Enter) closes it; Escape is left unhandled on purpose.
    bool command(DialogHost& dialog, int commandId) override;
};
