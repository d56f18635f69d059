// Dialog layout on the page, from the one template table.
#include "platform/web/WebDialogLayout.h"

#include <algorithm>

#include "words/Words.h"

namespace {
struct ControlName {
    DialogId dialog;
    int controlId;
    const char* name;  // the English source, looked up when asked for
};

constexpr ControlName controlNames[] = {
    {DialogId::CreateQuestion, ControlId::Dividend, trNoop("Dividend")},
    {DialogId::CreateQuestion, ControlId::Divisor, trNoop("Divisor")},
    {DialogId::Settings, ControlId::Language, trNoop("Language")},
    {DialogId::About, ControlId::AboutPicture,
     trNoop("Quillmoor, with Mox the fox waving a pencil. Bricketing: division by repeated "
            "subtraction. Made with care by the Bricketing team.")},
};

}  // namespace

PixelBox pixelBoxOf(const ControlTemplate& control) {
    return {dialogUnitsToPixelsX(control.x), dialogUnitsToPixelsY(control.y),
            dialogUnitsToPixelsX(control.width), dialogUnitsToPixelsY(control.height)};
}

PixelBox clientBoxOf(const DialogTemplate& dialog) {
    return {0, 0, dialogUnitsToPixelsX(dialog.width), dialogUnitsToPixelsY(dialog.height)};
}

std::vector<int> radioGroupIndices(const DialogTemplate& dialog) {
    const auto groups = radioGroups(dialog);
    std::vector<int> indices;
    indices.reserve(dialog.controls.size());
    for (const ControlTemplate& control : dialog.controls) {
        int found = -1;
        for (std::size_t group = 0; group < groups.size() && found < 0; ++group) {
            if (std::find(groups[group].begin(), groups[group].end(), control.id) !=
                groups[group].end()) {
                found = static_cast<int>(group);
            }
        }
        indices.push_back(control.kind == ControlKind::RadioButton ? found : -1);
    }
    return indices;
}

std::u16string accessibleNameOf(DialogId dialog, int controlId) {
    for (const ControlName& entry : controlNames) {
        if (entry.dialog == dialog && entry.controlId == controlId) {
            return tr(entry.name);
        }
    }
    return {};
}
