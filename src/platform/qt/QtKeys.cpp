// Qt key events to Windows virtual-key codes: by the physical key where the event
// names it, by Qt's key value otherwise.
#include "platform/qt/QtKeys.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace {
// X11 and Wayland number keys as the Linux input layer does, plus 8.
constexpr std::uint32_t xkbOffset = 8;

namespace Vk {
constexpr int LetterA = 65;
constexpr int Numpad0 = 96;
constexpr int Decimal = 110;
constexpr int F10 = 121;
}  // namespace Vk

// Keys whose code does not follow from a range.
const std::unordered_map<int, int>& fixedKeys() {
    static const std::unordered_map<int, int> keys = {
        {Qt::Key_Backspace, 8},     {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
        {Qt::Key_Clear, 12},        {Qt::Key_Return, 13},      {Qt::Key_Enter, 13},
        {Qt::Key_Shift, 16},        {Qt::Key_Control, 17},     {Qt::Key_Alt, 18},
        {Qt::Key_Pause, 19},        {Qt::Key_CapsLock, 20},    {Qt::Key_Escape, 27},
        {Qt::Key_Space, 32},        {Qt::Key_PageUp, 33},      {Qt::Key_PageDown, 34},
        {Qt::Key_End, 35},          {Qt::Key_Home, 36},        {Qt::Key_Left, 37},
        {Qt::Key_Up, 38},           {Qt::Key_Right, 39},       {Qt::Key_Down, 40},
        {Qt::Key_Print, 44},        {Qt::Key_Insert, 45},      {Qt::Key_Delete, 46},
        {Qt::Key_Help, 47},         {Qt::Key_Meta, 91},        {Qt::Key_Menu, 93},
        {Qt::Key_NumLock, 144},     {Qt::Key_ScrollLock, 145}, {Qt::Key_Semicolon, 186},
        {Qt::Key_Equal, 187},       {Qt::Key_Comma, 188},      {Qt::Key_Minus, 189},
        {Qt::Key_Period, 190},      {Qt::Key_Slash, 191},      {Qt::Key_QuoteLeft, 192},
        {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220},  {Qt::Key_BracketRight, 221},
        {Qt::Key_Apostrophe, 222},
    };
    return keys;
}

// The keypad's operator keys have their own codes.
int keypadOperator(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Asterisk:
            return 106;
        case Qt::Key_Plus:
            return 107;
        case Qt::Key_Minus:
            return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return Vk::Decimal;
        case Qt::Key_Slash:
            return 111;
        default:
            return 0;
    }
}

// The virtual key of each Linux input code from 0 to 127, as a US keyboard names the
// key at that place; 0 where there is none. Keypad digit keys are listed under their
// navigation meaning and handled apart.
// clang-format off
constexpr std::array<unsigned char, 128> physicalKeys = {
    0,   27,  49,  50,  51,  52,  53,  54,  55,  56,   // 0-9: -, Escape, digit row 1-8
    57,  48,  189, 187, 8,   9,   81,  87,  69,  82,   // 10-19: 9 0 - = Backspace Tab Q W E R
    84,  89,  85,  73,  79,  80,  219, 221, 13,  17,   // 20-29: T Y U I O P [ ] Enter Ctrl
    65,  83,  68,  70,  71,  72,  74,  75,  76,  186,  // 30-39: A S D F G H J K L ;
    222, 192, 16,  220, 90,  88,  67,  86,  66,  78,   // 40-49: ' ` Shift \ Z X C V B N
    77,  188, 190, 191, 16,  106, 18,  32,  20,  112,  // 50-59: M , . / Shift KP* Alt Space Caps F1
    113, 114, 115, 116, 117, 118, 119, 120, 121, 144,  // 60-69: F2-F10 NumLock
    145, 36,  38,  33,  109, 37,  12,  39,  107, 35,   // 70-79: Scroll KP7-9 KP- KP4-6 KP+ KP1
    40,  34,  45,  46,  0,   0,   226, 122, 123, 0,    // 80-89: KP2 KP3 KP0 KP. - - <> F11 F12
    0,   0,   0,   0,   0,   0,   13,  17,  111, 44,   // 90-99: KPEnter RCtrl KP/ SysRq
    18,  0,   36,  38,  33,  37,  39,  35,  40,  34,   // 100-109: AltGr - Home Up PgUp Left
                                                       //   Right End Down PgDn
    45,  46,  0,   0,   0,   0,   0,   0,   0,   19,   // 110-119: Insert Delete ... Pause
    0,   0,   0,   0,   0,   91,  92,  93,             // 120-127: ... LMeta RMeta Menu
};
// clang-format on

// The Linux input codes of the keypad's digit keys, 0 to 9.
constexpr std::array<std::uint32_t, 10> keypadDigitCodes = {82, 79, 80, 81, 75, 76, 77, 71, 72, 73};

// The digit a keypad key types under NumLock, or -1 for any other key.
int keypadDigitOf(std::uint32_t inputCode) {
    const auto found = std::find(keypadDigitCodes.begin(), keypadDigitCodes.end(), inputCode);
    return found == keypadDigitCodes.end() ? -1
                                           : static_cast<int>(found - keypadDigitCodes.begin());
}

constexpr std::uint32_t keypadDecimalCode = 83;
constexpr std::uint32_t firstF13Code = 183;
constexpr std::uint32_t lastF24Code = 194;

bool isDigitKey(int qtKey) {
    return qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9;
}

bool isLetterKey(int qtKey) {
    return qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z;
}

// Keys in the letter block whose code follows the layout's letter on Windows: the
// letters themselves and the punctuation keys some layouts put letters on.
bool followsLayoutLetter(int physical) {
    return (physical >= Vk::LetterA && physical <= Vk::LetterA + 25) ||
           (physical >= 186 && physical <= 192) || (physical >= 219 && physical <= 222) ||
           physical == 226;
}
}  // namespace

int toVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (isDigitKey(qtKey)) {
        return (keypad ? Vk::Numpad0 : 48) + (qtKey - Qt::Key_0);
    }
    if (isLetterKey(qtKey)) {
        return Vk::LetterA + (qtKey - Qt::Key_A);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return 112 + (qtKey - Qt::Key_F1);
    }
    if (keypad) {
        if (const int code = keypadOperator(qtKey); code != 0) {
            return code;
        }
    }
    const auto found = fixedKeys().find(qtKey);
    return found == fixedKeys().end() ? 0 : found->second;
}

int virtualKeyOfScanCode(std::uint32_t xkbKeyCode, int qtKey) {
    if (xkbKeyCode < xkbOffset) {
        return 0;
    }
    const std::uint32_t inputCode = xkbKeyCode - xkbOffset;
    if (inputCode >= firstF13Code && inputCode <= lastF24Code) {
        return 124 + static_cast<int>(inputCode - firstF13Code);
    }
    if (inputCode >= physicalKeys.size()) {
        return 0;
    }
    // Under NumLock the layout turns the keypad's keys into digits and a decimal
    // point; without it they are the navigation keys printed under the digits.
    if (const int digit = keypadDigitOf(inputCode); digit >= 0 && isDigitKey(qtKey)) {
        return Vk::Numpad0 + digit;
    }
    if (inputCode == keypadDecimalCode && (qtKey == Qt::Key_Period || qtKey == Qt::Key_Comma)) {
        return Vk::Decimal;
    }
    const int physical = physicalKeys[inputCode];
    if (followsLayoutLetter(physical) && isLetterKey(qtKey)) {
        return Vk::LetterA + (qtKey - Qt::Key_A);
    }
    return physical;
}

std::optional<int> keyDownCode(int qtKey, Qt::KeyboardModifiers modifiers,
                               std::uint32_t xkbKeyCode) {
    int code = xkbKeyCode != 0 ? virtualKeyOfScanCode(xkbKeyCode, qtKey) : 0;
    if (code == 0) {
        code = toVirtualKey(qtKey, modifiers);
    }
    // A press of Alt itself may come before its own modifier is reported.
    const bool alt = modifiers.testFlag(Qt::AltModifier) || qtKey == Qt::Key_Alt;
    const bool altAlone = alt && !modifiers.testFlag(Qt::ControlModifier);
    if (altAlone || code == Vk::F10 || qtKey == Qt::Key_F10) {
        return std::nullopt;
    }
    return code != 0 ? code : unmappedVirtualKey;
}
