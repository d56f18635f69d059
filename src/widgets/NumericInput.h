// The one editable number field of the working-out. It takes digits in either
// direction (right to left fills units first, as under a written subtraction) up to
// maxDigits, and keeps text and value in agreement.
#pragma once

#include <memory>
#include <string>

#include "platform/Drawing.h"
#include "widgets/GlideportItem.h"

class NumericInput : public GlideportItem {
public:
    explicit NumericInput(unsigned int maxDigits);

    // The digits right-aligned in a box four digits wide, framed maxDigits wide.
    void draw(BackBuffer& backBuffer, Point origin) override;
    // One key as a Windows virtual-key code: digits, keypad digits, Space, Backspace.
    void applyKey(int key);
    void clear();
    // The field's top-left and a height of three font line heights; used to keep the
    // field in view.
    Rectangle bounds() const;

    unsigned int maxDigits;  // 1 to 4
    int value = 0;           // the number text spells; 0 when text is empty
    std::u16string text;     // the digits as typed, leading zeros included
    int rightToLeft = 0;     // 0: digits go after the others; 1: in front of them
    Colour colour;
    Point position;  // top-left relative to the Glideport origin
    std::unique_ptr<Font> font;
    Colour normalColour = 0xFF1E1E64;
    Colour errorColour = 0xFFFA1E1E;
};
