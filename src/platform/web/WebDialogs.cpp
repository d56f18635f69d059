// Builds the stored dialogs from the template table as HTML dialogs and runs them for
// the neutral procedures; also the program's message boxes.
#include "platform/web/WebDialogs.h"

#include <emscripten.h>

#include <string_view>

#include "platform/web/WebBridge.h"
#include "platform/web/WebDialogLayout.h"
#include "resources/DialogTemplates.h"

namespace {

// How long a modal call waits between looks at the dialog's commands.
constexpr int pollMilliseconds = 10;

// How many dialog commands are being carried out, one inside another (a message box
// opened by a command). Typed-ahead keys are replayed only when the outermost is done,
// once the focus is where it ends up.
int commandDepth = 0;

void settleInput() {
    if (commandDepth == 0) {
        web_input_settled();
    }
}

int lengthOf(std::u16string_view text) {
    return static_cast<int>(text.size());
}

// The kinds in the numbering WebDialogs.js builds them by.
int kindNumber(ControlKind kind) {
    switch (kind) {
        case ControlKind::DefaultPushButton:
            return 0;
        case ControlKind::PushButton:
            return 1;
        case ControlKind::GroupBox:
            return 2;
        case ControlKind::CheckBox:
            return 3;
        case ControlKind::RadioButton:
            return 4;
        case ControlKind::Edit:
            return 5;
        case ControlKind::StaticText:
            return 6;
        case ControlKind::StaticPicture:
            return 7;
        case ControlKind::DropDownList:
            return 8;
    }
    return 6;
}

bool has(const ControlTemplate& control, unsigned style) {
    return (control.styles & style) != 0;
}

// A control whose caption does not say what it is gets its name apart.
void nameForScreenReaders(int handle, DialogId dialog, int controlId) {
    const std::u16string name = accessibleNameOf(dialog, controlId);
    if (!name.empty()) {
        web_set_control_name(handle, controlId, name.data(), lengthOf(name));
    }
}

// One open dialog as its procedure sees it. Commands are delivered one at a time; an
// end requested during a command closes the dialog once the command returns.
class WebDialog : public DialogHost {
public:
    WebDialog(const DialogTemplate& layout, DialogProcedure& procedure)
        : layout(layout), procedure(procedure) {
        const PixelBox client = clientBoxOf(layout);
        const std::u16string title = shownCaption(layout);
        handle = web_dialog_create(static_cast<int>(layout.number), title.data(), lengthOf(title),
                                   layout.systemMenu ? 1 : 0, client.width, client.height);
        const auto groups = radioGroupIndices(layout);
        for (std::size_t at = 0; at < layout.controls.size(); ++at) {
            const ControlTemplate& c = layout.controls[at];
            const PixelBox box = pixelBoxOf(c);
            const std::u16string caption = shownCaption(c);
            web_dialog_add(handle, c.id, kindNumber(c.kind), caption.data(), lengthOf(caption),
                           box.x, box.y, box.width, box.height, has(c, ControlStyle::TabStop),
                           has(c, ControlStyle::DigitsOnly), has(c, ControlStyle::Border),
                           groups[at]);
            nameForScreenReaders(handle, layout.number, c.id);
        }
    }

    ~WebDialog() override {
        web_dialog_close(handle);
        settleInput();
    }

    // Shows the dialog, lets the procedure set it up and waits for it to end.
    void run() {
        web_dialog_show(handle, layout.placement == DialogPlacement::CentreOnPointer);
        const bool focusPlaced = deliver([this] { return procedure.initDialog(*this); });
        if (!ended && !focusPlaced) {
            setFocus(nextTabStop(layout, 0));
        }
        while (!ended) {
            const int command = web_dialog_take(handle);
            if (command == web_no_command) {
                emscripten_sleep(pollMilliseconds);
            } else {
                deliver([this, command] { return procedure.command(*this, command); });
            }
        }
    }

    std::u16string controlText(int controlId) override {
        std::u16string text(256, u'\0');
        int length = web_control_text(handle, controlId, text.data(), lengthOf(text));
        if (length > lengthOf(text)) {
            text.resize(static_cast<std::size_t>(length));
            length = web_control_text(handle, controlId, text.data(), length);
        }
        text.resize(static_cast<std::size_t>(length));
        return text;
    }

    void setControlText(int controlId, const std::u16string& text) override {
        web_set_control_text(handle, controlId, text.data(), lengthOf(text));
    }

    bool isChecked(int controlId) override { return web_is_checked(handle, controlId) != 0; }

    void setChecked(int controlId, bool checked) override {
        web_set_checked(handle, controlId, checked ? 1 : 0);
    }

    void checkRadioButton(int firstId, int lastId, int checkedId) override {
        for (const ControlTemplate& c : layout.controls) {
            if (c.kind == ControlKind::RadioButton && c.id >= firstId && c.id <= lastId) {
                setChecked(c.id, c.id == checkedId);
            }
        }
    }

    void setEnabled(int controlId, bool enabled) override {
        web_set_enabled(handle, controlId, enabled ? 1 : 0);
    }

    void setListItems(int controlId, const std::vector<std::u16string>& items) override {
        web_clear_list(handle, controlId);
        for (const std::u16string& item : items) {
            web_add_list_item(handle, controlId, item.data(), lengthOf(item));
        }
    }

    void selectListItem(int controlId, int index) override {
        web_select_list_item(handle, controlId, index);
    }

    int selectedListItem(int controlId) override {
        return web_selected_list_item(handle, controlId);
    }

    int focusedControl() override { return web_focused_control(handle); }

    void setFocus(int controlId) override { web_set_focus(handle, controlId); }

    void postNextControl() override { nextControlPosted = true; }

    MessageBoxAnswer messageBox(const std::u16string& text, const std::u16string& caption,
                                MessageBoxButtons buttons) override {
        return runWebMessageBox(text, caption, buttons);
    }

    void end(int) override {
        if (inCommand) {
            endRequested = true;
        } else {
            ended = true;
        }
    }

private:
    // Runs one call into the procedure, then what it asked for meanwhile: the move to
    // the next tab stop, or the end.
    template <typename Call>
    bool deliver(Call call) {
        inCommand = true;
        ++commandDepth;
        const bool result = call();
        --commandDepth;
        inCommand = false;
        if (endRequested) {
            ended = true;
        } else if (nextControlPosted) {
            setFocus(nextTabStop(layout, focusedControl()));
        }
        nextControlPosted = false;
        if (!ended) {
            settleInput();
        }
        return result;
    }

    const DialogTemplate& layout;
    DialogProcedure& procedure;
    int handle = 0;
    bool inCommand = false;
    bool endRequested = false;
    bool nextControlPosted = false;
    bool ended = false;
};

}  // namespace

MessageBoxAnswer runWebMessageBox(const std::u16string& text, const std::u16string& caption,
                                  MessageBoxButtons buttons) {
    const std::u16string shownCaption = caption.empty() ? u"Bricketing" : caption;
    const bool yesNo = buttons == MessageBoxButtons::YesNo;
    const int handle = web_message_box(text.data(), lengthOf(text), shownCaption.data(),
                                       lengthOf(shownCaption), yesNo ? 1 : 0);
    int answer = web_no_command;
    while (answer == web_no_command) {
        emscripten_sleep(pollMilliseconds);
        answer = web_dialog_take(handle);
    }
    web_dialog_close(handle);
    settleInput();
    if (!yesNo) {
        return MessageBoxAnswer::Ok;
    }
    return answer == 6 ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

void runWebDialog(DialogId dialog, DialogProcedure& procedure) {
    const DialogTemplate* layout = findDialogTemplate(dialog);
    if (layout == nullptr) {
        return;
    }
    WebDialog window(*layout, procedure);
    window.run();
}
