// Key codes from the physical key: the X11/Wayland key code of each key against the
// Windows virtual key of the key at that place, on a US and a French keyboard, the
// keypad with and without NumLock, system keys kept back, and unknown keys delivered.
#include <gtest/gtest.h>

#include <random>

#include "platform/qt/QtKeys.h"

namespace {
// xkb key codes: the Linux input code plus 8.
constexpr std::uint32_t xkb(std::uint32_t inputCode) {
    return inputCode + 8;
}

struct KeyCase {
    const char* what;
    std::uint32_t scanCode;  // xkb key code, 0 for an event without one
    int qtKey;               // what the layout made of the key
    Qt::KeyboardModifiers modifiers;
    int expected;  // virtual key, or -1 when the key must not be delivered
};

void expectCases(const std::vector<KeyCase>& cases) {
    for (const KeyCase& c : cases) {
        const std::optional<int> code = keyDownCode(c.qtKey, c.modifiers, c.scanCode);
        if (c.expected < 0) {
            EXPECT_FALSE(code.has_value()) << c.what;
        } else {
            ASSERT_TRUE(code.has_value()) << c.what;
            EXPECT_EQ(*code, c.expected) << c.what;
        }
    }
}

TEST(QtKeysFromScanCodes, TheDigitRowGivesDigitsWhateverTheLayoutAndShift) {
    // The French layout's top row without Shift, then with it, then the US layout.
    const int french[10] = {Qt::Key_Agrave,     Qt::Key_Ampersand, Qt::Key_Eacute, Qt::Key_QuoteDbl,
                            Qt::Key_Apostrophe, Qt::Key_ParenLeft, Qt::Key_Minus,  Qt::Key_Egrave,
                            Qt::Key_Underscore, Qt::Key_Ccedilla};
    const int usShifted[10] = {Qt::Key_ParenRight,  Qt::Key_Exclam,    Qt::Key_At,
                               Qt::Key_NumberSign,  Qt::Key_Dollar,    Qt::Key_Percent,
                               Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,
                               Qt::Key_ParenLeft};
    for (int digit = 0; digit <= 9; ++digit) {
        // The digit row runs 1 to 9 on input codes 2 to 10, then 0 on 11.
        const std::uint32_t scan = xkb(digit == 0 ? 11 : static_cast<std::uint32_t>(digit + 1));
        const int expected = 48 + digit;
        expectCases({
            {"French, unshifted", scan, french[digit], Qt::NoModifier, expected},
            {"French, shifted", scan, Qt::Key_0 + digit, Qt::ShiftModifier, expected},
            {"US, unshifted", scan, Qt::Key_0 + digit, Qt::NoModifier, expected},
            {"US, shifted", scan, usShifted[digit], Qt::ShiftModifier, expected},
        });
    }
}

TEST(QtKeysFromScanCodes, TheKeypadGivesDigitsUnderNumLockAndNavigationWithout) {
    // Input code, digit under NumLock, Qt key without NumLock, virtual key without.
    struct Pad {
        std::uint32_t code;
        int digit;
        int navigationKey;
        int navigationCode;
    };
    const Pad pads[] = {
        {71, 7, Qt::Key_Home, 36},   {72, 8, Qt::Key_Up, 38},    {73, 9, Qt::Key_PageUp, 33},
        {75, 4, Qt::Key_Left, 37},   {76, 5, Qt::Key_Clear, 12}, {77, 6, Qt::Key_Right, 39},
        {79, 1, Qt::Key_End, 35},    {80, 2, Qt::Key_Down, 40},  {81, 3, Qt::Key_PageDown, 34},
        {82, 0, Qt::Key_Insert, 45},
    };
    for (const Pad& pad : pads) {
        expectCases({
            {"NumLock on", xkb(pad.code), Qt::Key_0 + pad.digit, Qt::KeypadModifier,
             96 + pad.digit},
            {"NumLock off", xkb(pad.code), pad.navigationKey, Qt::KeypadModifier,
             pad.navigationCode},
        });
    }
    expectCases({
        {"keypad point", xkb(83), Qt::Key_Period, Qt::KeypadModifier, 110},
        {"keypad comma (French)", xkb(83), Qt::Key_Comma, Qt::KeypadModifier, 110},
        {"keypad Delete", xkb(83), Qt::Key_Delete, Qt::KeypadModifier, 46},
        {"keypad Enter", xkb(96), Qt::Key_Enter, Qt::KeypadModifier, 13},
        {"keypad plus", xkb(78), Qt::Key_Plus, Qt::KeypadModifier, 107},
        {"keypad minus", xkb(74), Qt::Key_Minus, Qt::KeypadModifier, 109},
        {"keypad times", xkb(55), Qt::Key_Asterisk, Qt::KeypadModifier, 106},
        {"keypad divide", xkb(98), Qt::Key_Slash, Qt::KeypadModifier, 111},
    });
}

TEST(QtKeysFromScanCodes, EditingAndNavigationKeysHaveTheirCodes) {
    expectCases({
        {"Enter", xkb(28), Qt::Key_Return, Qt::NoModifier, 13},
        {"Backspace", xkb(14), Qt::Key_Backspace, Qt::NoModifier, 8},
        {"Delete", xkb(111), Qt::Key_Delete, Qt::NoModifier, 46},
        {"Escape", xkb(1), Qt::Key_Escape, Qt::NoModifier, 27},
        {"Space", xkb(57), Qt::Key_Space, Qt::NoModifier, 32},
        {"Tab", xkb(15), Qt::Key_Tab, Qt::NoModifier, 9},
        {"Left", xkb(105), Qt::Key_Left, Qt::NoModifier, 37},
        {"Up", xkb(103), Qt::Key_Up, Qt::NoModifier, 38},
        {"Right", xkb(106), Qt::Key_Right, Qt::NoModifier, 39},
        {"Down", xkb(108), Qt::Key_Down, Qt::NoModifier, 40},
        {"Home", xkb(102), Qt::Key_Home, Qt::NoModifier, 36},
        {"End", xkb(107), Qt::Key_End, Qt::NoModifier, 35},
        {"F1", xkb(59), Qt::Key_F1, Qt::NoModifier, 112},
        {"F12", xkb(88), Qt::Key_F12, Qt::NoModifier, 123},
        {"Shift", xkb(42), Qt::Key_Shift, Qt::ShiftModifier, 16},
    });
}

TEST(QtKeysFromScanCodes, LettersFollowTheLayoutAndPunctuationThePlace) {
    expectCases({
        {"US Q", xkb(16), Qt::Key_Q, Qt::NoModifier, 'Q'},
        {"French A on the US Q key", xkb(16), Qt::Key_A, Qt::NoModifier, 'A'},
        {"French M on the US semicolon key", xkb(39), Qt::Key_M, Qt::NoModifier, 'M'},
        {"shifted letter", xkb(30), Qt::Key_A, Qt::ShiftModifier, 'A'},
        {"a Cyrillic letter on the US F key", xkb(33), 0x0410, Qt::NoModifier, 'F'},
        {"French ! on the US slash key", xkb(53), Qt::Key_Exclam, Qt::NoModifier, 191},
        {"the key beside the left Shift", xkb(86), Qt::Key_Less, Qt::NoModifier, 226},
    });
}

TEST(QtKeysFromScanCodes, SystemKeysAreKeptBackAndCtrlAltIsNotOne) {
    expectCases({
        {"Alt+2 on the US layout", xkb(3), Qt::Key_2, Qt::AltModifier, -1},
        {"Alt+2 on the French layout", xkb(3), Qt::Key_Eacute, Qt::AltModifier, -1},
        {"Alt+Shift+2", xkb(3), Qt::Key_2, Qt::AltModifier | Qt::ShiftModifier, -1},
        {"Alt alone", xkb(56), Qt::Key_Alt, Qt::AltModifier, -1},
        {"Alt alone, held state not yet updated", xkb(56), Qt::Key_Alt, Qt::NoModifier, -1},
        {"Ctrl, then Alt", xkb(56), Qt::Key_Alt, Qt::ControlModifier, 18},
        {"Alt+Enter", xkb(28), Qt::Key_Return, Qt::AltModifier, -1},
        {"F10", xkb(68), Qt::Key_F10, Qt::NoModifier, -1},
        {"Shift+F10", xkb(68), Qt::Key_F10, Qt::ShiftModifier, -1},
        {"F10 without a scan code", 0, Qt::Key_F10, Qt::NoModifier, -1},
        {"Alt+2 without a scan code", 0, Qt::Key_2, Qt::AltModifier, -1},
        {"Ctrl+Alt+2", xkb(3), Qt::Key_2, Qt::AltModifier | Qt::ControlModifier, '2'},
        {"F9", xkb(67), Qt::Key_F9, Qt::NoModifier, 120},
        {"F11", xkb(87), Qt::Key_F11, Qt::NoModifier, 122},
    });
}

TEST(QtKeysFromScanCodes, KeysWithoutAScanCodeFallBackToTheirQtKey) {
    expectCases({
        {"digit", 0, Qt::Key_7, Qt::NoModifier, '7'},
        {"keypad digit", 0, Qt::Key_4, Qt::KeypadModifier, 100},
        {"Enter", 0, Qt::Key_Return, Qt::NoModifier, 13},
        {"letter", 0, Qt::Key_Z, Qt::ShiftModifier, 'Z'},
        {"unknown character", 0, Qt::Key_Eacute, Qt::NoModifier, unmappedVirtualKey},
        {"unknown key code", xkb(240), Qt::Key_unknown, Qt::NoModifier, unmappedVirtualKey},
        {"unknown key, character known", xkb(240), Qt::Key_5, Qt::NoModifier, '5'},
    });
}

// Whatever key arrives, without Alt or F10 it is delivered, and its code is a digit
// only when the key is a digit key: on the digit row, on the keypad under NumLock, or
// (without a scan code) a digit by its Qt key.
TEST(QtKeysFromScanCodes, EveryOrdinaryKeyIsDeliveredAndOnlyDigitKeysGiveDigits) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::uint32_t> scans(0, 260);
    std::uniform_int_distribution<int> keys(0, 0x01300000);
    std::uniform_int_distribution<int> asciiKeys(0x20, 0x7e);
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t scan = scans(random);
        const int qtKey = i % 2 == 0 ? asciiKeys(random) : keys(random);
        if (qtKey == Qt::Key_F10) {
            continue;
        }
        const Qt::KeyboardModifiers modifiers =
            i % 3 == 0 ? Qt::KeyboardModifiers(Qt::ShiftModifier) : Qt::NoModifier;
        const std::optional<int> code = keyDownCode(qtKey, modifiers, scan);
        const bool digitRow = scan >= xkb(2) && scan <= xkb(11);
        const bool qtDigit = qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9;
        if (scan == xkb(68)) {
            EXPECT_FALSE(code.has_value()) << "F10 by its place";
            continue;
        }
        ASSERT_TRUE(code.has_value()) << "scan " << scan << ", key " << qtKey;
        EXPECT_GT(*code, 0);
        EXPECT_LE(*code, 0xFF);
        const bool typesDigit = (*code >= 48 && *code <= 57) || (*code >= 96 && *code <= 105);
        if (digitRow) {
            EXPECT_TRUE(*code >= 48 && *code <= 57) << "scan " << scan;
        } else if (typesDigit) {
            EXPECT_TRUE(qtDigit) << "scan " << scan << " gave digit code " << *code << " for key "
                                 << qtKey;
        }
    }
}
}  // namespace
