// A scripted open dialog for testing dialog procedures: control texts and check marks
// the test sets and reads, a focus that follows a given tab order, recorded message
// boxes, and whether and how the dialog was ended.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Host.h"

struct DialogMessageBox {
    std::u16string text;
    std::u16string caption;
    MessageBoxButtons buttons = MessageBoxButtons::Ok;
};

class FakeDialogHost : public DialogHost {
public:
    // tabOrder lists the tab stops in order; requests for the next control follow it.
    explicit FakeDialogHost(std::vector<int> tabOrder = {});

    std::u16string controlText(int controlId) override;
    void setControlText(int controlId, const std::u16string& text) override;
    bool isChecked(int controlId) override;
    void setChecked(int controlId, bool checked) override;
    void checkRadioButton(int firstId, int lastId, int checkedId) override;
    void setEnabled(int controlId, bool enabled) override { disabled[controlId] = !enabled; }
    void setListItems(int controlId, const std::vector<std::u16string>& items) override {
        lists[controlId] = items;
        selections[controlId] = -1;
    }
    void selectListItem(int controlId, int index) override { selections[controlId] = index; }
    int selectedListItem(int controlId) override {
        const auto found = selections.find(controlId);
        return found == selections.end() ? -1 : found->second;
    }
    bool isDisabled(int controlId) const {
        const auto found = disabled.find(controlId);
        return found != disabled.end() && found->second;
    }
    int focusedControl() override { return focus; }
    void setFocus(int controlId) override { focus = controlId; }
    void postNextControl() override { ++nextControlRequests; }
    MessageBoxAnswer messageBox(const std::u16string& text, const std::u16string& caption,
                                MessageBoxButtons buttons) override;
    void end(int result) override;

    // Opens the dialog for the procedure as a backend does: the first tab stop gets
    // the focus unless the procedure placed it.
    void open(DialogProcedure& procedure);
    // Delivers a command, then carries out any postponed move to the next tab stop,
    // as a backend does once the command has been handled. Returns the procedure's
    // answer.
    bool command(DialogProcedure& procedure, int commandId);
    // Types text into a control that has the focus, replacing what it held.
    void typeInto(int controlId, const std::u16string& text);

    std::vector<int> tabOrder;
    std::map<int, std::u16string> texts;
    std::map<int, bool> checks;
    std::map<int, bool> disabled;
    std::map<int, std::vector<std::u16string>> lists;
    std::map<int, int> selections;
    int focus = 0;
    int nextControlRequests = 0;  // requests not yet carried out
    std::vector<DialogMessageBox> messageBoxes;
    bool ended = false;
    int endResult = -1;
    int endCount = 0;
};
