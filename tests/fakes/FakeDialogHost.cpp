// The scripted open dialog.
#include "fakes/FakeDialogHost.h"

#include <algorithm>
#include <utility>

FakeDialogHost::FakeDialogHost(std::vector<int> tabOrder) : tabOrder(std::move(tabOrder)) {}

std::u16string FakeDialogHost::controlText(int controlId) {
    const auto found = texts.find(controlId);
    return found == texts.end() ? std::u16string() : found->second;
}

void FakeDialogHost::setControlText(int controlId, const std::u16string& text) {
    texts[controlId] = text;
}

bool FakeDialogHost::isChecked(int controlId) {
    const auto found = checks.find(controlId);
    return found != checks.end() && found->second;
}

void FakeDialogHost::setChecked(int controlId, bool checked) {
    checks[controlId] = checked;
}

void FakeDialogHost::checkRadioButton(int firstId, int lastId, int checkedId) {
    for (int id = firstId; id <= lastId; ++id) {
        checks[id] = id == checkedId;
    }
}

MessageBoxAnswer FakeDialogHost::messageBox(const std::u16string& text,
                                            const std::u16string& caption,
                                            MessageBoxButtons buttons) {
    messageBoxes.push_back({text, caption, buttons});
    return buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::Yes : MessageBoxAnswer::Ok;
}

void FakeDialogHost::end(int result) {
    ended = true;
    endResult = result;
    ++endCount;
}

void FakeDialogHost::open(DialogProcedure& procedure) {
    if (!procedure.initDialog(*this) && !tabOrder.empty()) {
        focus = tabOrder.front();
    }
}

bool FakeDialogHost::command(DialogProcedure& procedure, int commandId) {
    const bool handled = procedure.command(*this, commandId);
    for (; nextControlRequests > 0; --nextControlRequests) {
        const auto at = std::find(tabOrder.begin(), tabOrder.end(), focus);
        if (at == tabOrder.end() || std::next(at) == tabOrder.end()) {
            focus = tabOrder.empty() ? 0 : tabOrder.front();
        } else {
            focus = *std::next(at);
        }
    }
    return handled;
}

void FakeDialogHost::typeInto(int controlId, const std::u16string& text) {
    focus = controlId;
    texts[controlId] = text;
}
