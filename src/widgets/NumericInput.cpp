// The editable number row: applies digit, Space and Backspace keys in either typing
// direction and draws the digits right-aligned in a framed box.
#include "widgets/NumericInput.h"

#include "platform/KeyCodes.h"

namespace {
constexpr float fontSize = 30.0f;
constexpr float framePenWidth = 2.0f;
// A decimal int holds any nine digits; more could overflow, whatever maxDigits says.
constexpr std::size_t longestSafeText = 9;

// 10 to the given power, for powers below longestSafeText.
int powerOfTen(std::size_t exponent) {
    int power = 1;
    for (std::size_t i = 0; i < exponent; ++i) {
        power *= 10;
    }
    return power;
}

// The digit a key stands for, from the main keyboard or the keypad; -1 for any other key.
int digitOfKey(int key) {
    if (key >= KeyCode::Digit0 && key <= KeyCode::Digit0 + 9) {
        return key - KeyCode::Digit0;
    }
    if (key >= KeyCode::Numpad0 && key <= KeyCode::Numpad0 + 9) {
        return key - KeyCode::Numpad0;
    }
    return -1;
}

// What the row shows: the digits, with a mark in front while typing units first and
// room is left, or "0" when there is nothing else to show.
std::u16string shownText(const NumericInput& row) {
    if (row.rightToLeft == 1 && row.text.size() < row.maxDigits) {
        return u"_" + row.text;
    }
    if (row.text.empty()) {
        return u"0";
    }
    return row.text;
}

// Backspace: left to right takes off the last digit, right to left the leading one
// together with its share of the value.
void removeDigit(NumericInput& row) {
    if (row.text.empty()) {
        return;
    }
    if (row.rightToLeft == 0) {
        row.value /= 10;
        row.text.pop_back();
        return;
    }
    row.value %= powerOfTen(row.text.size() - 1);
    row.text.erase(row.text.begin());
}

void addDigit(NumericInput& row, int digit) {
    const auto character = static_cast<char16_t>(u'0' + digit);
    if (row.rightToLeft == 0) {
        // No leading zero can be typed left to right.
        if (digit == 0 && row.value == 0) {
            return;
        }
        row.value = row.value * 10 + digit;
        row.text.push_back(character);
        return;
    }
    // Zeros are accepted right to left, also as the first digit typed.
    row.value += digit * powerOfTen(row.text.size());
    row.text.insert(row.text.begin(), character);
}
}  // namespace

NumericInput::NumericInput(unsigned int maxDigits)
    : maxDigits(maxDigits), font(makeFont(fontSize)) {
    colour = normalColour;
}

void NumericInput::draw(BackBuffer& backBuffer, Point origin) {
    auto graphics = backBuffer.beginDrawing();
    const Point at{position.x + origin.x, position.y + origin.y};
    // Every number of a column ends at the right edge of a box four digits wide.
    const Rectangle textBox = graphics->measureText(u"0000", *font, at);
    graphics->drawTextInBox(shownText(*this), *font, colour, textBox, TextAlign::Far);

    // The frame is as wide as maxDigits digits and shares the text box's right edge.
    Rectangle frame = graphics->measureText(std::u16string(maxDigits, u'0'), *font, at);
    frame.x += textBox.width - frame.width;
    graphics->outlineRectangle(colour, framePenWidth, frame);
}

void NumericInput::applyKey(int key) {
    if (key == KeyCode::Space) {
        rightToLeft = rightToLeft == 0 ? 1 : 0;
    } else if (key == KeyCode::Backspace) {
        removeDigit(*this);
    } else {
        const int digit = digitOfKey(key);
        if (digit >= 0 && text.size() < maxDigits && text.size() < longestSafeText) {
            addDigit(*this, digit);
        }
    }
}

void NumericInput::clear() {
    text.clear();
    value = 0;
}

Rectangle NumericInput::bounds() const {
    const float lineHeight = font->lineHeightAtDpi(font->sizeInPoints());
    return {position.x, position.y, 1.0f, 3.0f * lineHeight};
}
