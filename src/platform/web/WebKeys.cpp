// KeyboardEvent.code names to Windows virtual-key codes.
#include "platform/web/WebKeys.h"

#include <array>
#include <utility>

namespace {

using Entry = std::pair<std::string_view, int>;

// Keys whose code does not follow from a range.
constexpr std::array fixedKeys = {
    Entry{"Backspace", 8},
    Entry{"Tab", 9},
    Entry{"NumpadClear", 12},
    Entry{"Enter", 13},
    Entry{"NumpadEnter", 13},
    Entry{"ShiftLeft", 16},
    Entry{"ShiftRight", 16},
    Entry{"ControlLeft", 17},
    Entry{"ControlRight", 17},
    Entry{"AltLeft", 18},
    Entry{"AltRight", 18},
    Entry{"Pause", 19},
    Entry{"CapsLock", 20},
    Entry{"Escape", 27},
    Entry{"Space", 32},
    Entry{"PageUp", 33},
    Entry{"PageDown", 34},
    Entry{"End", 35},
    Entry{"Home", 36},
    Entry{"ArrowLeft", 37},
    Entry{"ArrowUp", 38},
    Entry{"ArrowRight", 39},
    Entry{"ArrowDown", 40},
    Entry{"PrintScreen", 44},
    Entry{"Insert", 45},
    Entry{"Delete", 46},
    Entry{"Help", 47},
    Entry{"MetaLeft", 91},
    Entry{"MetaRight", 92},
    Entry{"ContextMenu", 93},
    Entry{"NumpadMultiply", 106},
    Entry{"NumpadAdd", 107},
    Entry{"NumpadSubtract", 109},
    Entry{"NumpadDecimal", 110},
    Entry{"NumpadComma", 110},
    Entry{"NumpadDivide", 111},
    Entry{"NumLock", 144},
    Entry{"ScrollLock", 145},
    Entry{"Semicolon", 186},
    Entry{"Equal", 187},
    Entry{"Comma", 188},
    Entry{"Minus", 189},
    Entry{"Period", 190},
    Entry{"Slash", 191},
    Entry{"Backquote", 192},
    Entry{"BracketLeft", 219},
    Entry{"Backslash", 220},
    Entry{"BracketRight", 221},
    Entry{"Quote", 222},
    Entry{"IntlBackslash", 226},
};

// With Num Lock off the keypad's digit keys are navigation keys; the browser keeps
// their code and says so in the key name.
constexpr std::array keypadNavigation = {
    Entry{"Insert", 45},    Entry{"End", 35},    Entry{"ArrowDown", 40},  Entry{"PageDown", 34},
    Entry{"ArrowLeft", 37}, Entry{"Clear", 12},  Entry{"ArrowRight", 39}, Entry{"Home", 36},
    Entry{"ArrowUp", 38},   Entry{"PageUp", 33}, Entry{"Delete", 46},
};

template <std::size_t size>
int lookUp(const std::array<Entry, size>& table, std::string_view name) {
    for (const auto& [entryName, code] : table) {
        if (entryName == name) {
            return code;
        }
    }
    return 0;
}

// The number after a prefix, when the rest of the name is only digits.
int numberAfter(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) {
        return -1;
    }
    int number = 0;
    for (const char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9' || number > 100) {
            return -1;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

bool isSingleDigit(std::string_view key) {
    return key.size() == 1 && key[0] >= '0' && key[0] <= '9';
}

// Keys the drill uses, by the name a keyboard gives them when it names no physical key
// (soft keyboards and some external ones send an empty or unknown code). The older
// names "Spacebar" and "Esc" are still sent by some engines.
constexpr std::array keysByName = {
    Entry{"Enter", 13},    Entry{"Backspace", 8}, Entry{" ", 32},
    Entry{"Spacebar", 32}, Entry{"Escape", 27},   Entry{"Esc", 27},
};

int virtualKeyOfName(std::string_view key) {
    if (isSingleDigit(key)) {
        return 48 + (key[0] - '0');
    }
    return lookUp(keysByName, key);
}

int virtualKeyOfCode(std::string_view code, std::string_view key) {
    if (code.size() == 6 && code.substr(0, 5) == "Digit" && isSingleDigit(code.substr(5))) {
        return 48 + (code[5] - '0');
    }
    if (code.size() == 4 && code.substr(0, 3) == "Key" && code[3] >= 'A' && code[3] <= 'Z') {
        return 65 + (code[3] - 'A');
    }
    if (code.size() == 7 && code.substr(0, 6) == "Numpad" && isSingleDigit(code.substr(6))) {
        if (!key.empty() && !isSingleDigit(key)) {
            return lookUp(keypadNavigation, key);
        }
        return 96 + (code[6] - '0');
    }
    if (code == "NumpadDecimal" && !key.empty() && key == "Delete") {
        return 46;
    }
    if (const int function = numberAfter(code, "F"); function >= 1 && function <= 24) {
        return 111 + function;
    }
    return lookUp(fixedKeys, code);
}

}  // namespace

int virtualKeyOf(std::string_view code, std::string_view key) {
    // A physical key is read by where it is, whatever the layout; a missing or unknown
    // code falls back to what the key says it is.
    const int byCode = virtualKeyOfCode(code, key);
    return byCode != 0 ? byCode : virtualKeyOfName(key);
}
