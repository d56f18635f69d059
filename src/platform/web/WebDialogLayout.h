// Where the controls of a stored dialog go on the page: dialog units to CSS pixels at
// the dialog font's base units (dialogUnitsToPixelsX and Y), the radio group
// each control belongs to. Plain C++, so it is tested without a browser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "resources/DialogTemplates.h"

struct PixelBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

PixelBox pixelBoxOf(const ControlTemplate& control);
// The client area of the whole dialog.
PixelBox clientBoxOf(const DialogTemplate& dialog);

// For each control in template order, the index of the radio group it belongs to
// (as radioGroups() forms them), or -1 for a control that is no radio button.
std::vector<int> radioGroupIndices(const DialogTemplate& dialog);

// What a screen reader names a control whose caption does not say what it is: the two
// edits of Create Question, the About picture. Empty for every other control, which its
// own caption names. In the pupil's language.
std::u16string accessibleNameOf(DialogId dialog, int controlId);
