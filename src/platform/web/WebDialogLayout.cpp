// Dialog layout on the page, from the one template table.
#include "platform/web/WebDialogLayout.h"

#include <algorithm>

#include "words/Words.h"

namespace {
// The base units of the classic 8-point dialog font, which the templates were laid out
// with: a horizontal unit is a quarter of 6 pixels, a vertical one an eighth of 13.
constexpr int baseX = 6;
constexpr int baseY = 13;

struct ControlName {
    int dialogNumber;
    int controlId;
    const char* name;  // the English source, looked up when asked for
};

constexpr ControlName controlNames[] = {
    {DialogNumber::CreateQuestion, ControlId::Dividend, trNoop("Dividend")},
    {DialogNumber::CreateQuestion, ControlId::Divisor, trNoop("Divisor")},
    {DialogNumber::Settings, ControlId::Language, trNoop("Language")},
    {DialogNumber::About, ControlId::AboutPicture,
     trNoop("Quillmoor, with Mox the fox waving a pencil. Bricketing: division by repeated "
            "subtraction. Made with care by the Bricketing team.")},
};

int roundedScale(int units, int base, int divisor) {
    const int product = units * base;
    return product >= 0 ? (product + divisor / 2) / divisor : -((-product + divisor / 2) / divisor);
}
}  // namespace

int dialogUnitsToPixelsX(int units) {
    return roundedScale(units, baseX, 4);
}

int dialogUnitsToPixelsY(int units) {
    return roundedScale(units, baseY, 8);
}

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

std::u16string accessibleNameOf(int dialogNumber, int controlId) {
    for (const ControlName& entry : controlNames) {
        if (entry.dialogNumber == dialogNumber && entry.controlId == controlId) {
            return tr(entry.name);
        }
    }
    return {};
}
