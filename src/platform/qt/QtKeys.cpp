// Qt key codes to Windows virtual-key codes.
#include "platform/qt/QtKeys.h"

#include <unordered_map>

namespace {
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
            return 110;
        case Qt::Key_Slash:
            return 111;
        default:
            return 0;
    }
}
}  // namespace

int toVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return (keypad ? 96 : 48) + (qtKey - Qt::Key_0);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return 65 + (qtKey - Qt::Key_A);
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
