// Browser key codes to the program's Windows key codes: every key the drill uses, the
// keypad with Num Lock on and off, and names that must give nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <regex>
#include <string>

#include "platform/KeyCodes.h"
#include "platform/web/WebInputKind.h"
#include "platform/web/WebKeys.h"

namespace {

struct KeyCase {
    const char* code;
    const char* key;
    int expected;
};

TEST(WebKeys, DigitsLettersAndTheKeypadByPhysicalKey) {
    for (int digit = 0; digit <= 9; ++digit) {
        const std::string d = std::to_string(digit);
        EXPECT_EQ(virtualKeyOf("Digit" + d, d), KeyCode::Digit0 + digit) << d;
        // The same key on another layout (e.g. AZERTY's unshifted symbols) is still a digit.
        EXPECT_EQ(virtualKeyOf("Digit" + d, "&"), KeyCode::Digit0 + digit) << d;
        EXPECT_EQ(virtualKeyOf("Numpad" + d, d), KeyCode::Numpad0 + digit) << d;
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        EXPECT_EQ(virtualKeyOf(std::string("Key") + letter, "x"),
                  KeyCode::LetterA + (letter - 'A'));
    }
}

TEST(WebKeys, NamedKeys) {
    const KeyCase cases[] = {
        {"Enter", "Enter", KeyCode::Enter},
        {"NumpadEnter", "Enter", KeyCode::Enter},
        {"Escape", "Escape", KeyCode::Escape},
        {"Backspace", "Backspace", KeyCode::Backspace},
        {"Space", " ", KeyCode::Space},
        {"Tab", "Tab", 9},
        {"ArrowLeft", "ArrowLeft", 37},
        {"ArrowDown", "ArrowDown", 40},
        {"Delete", "Delete", 46},
        {"NumpadAdd", "+", 107},
        {"NumpadSubtract", "-", 109},
        {"NumpadMultiply", "*", 106},
        {"NumpadDivide", "/", 111},
        {"NumpadDecimal", ".", 110},
        {"NumpadDecimal", "Delete", 46},
        {"Minus", "-", 189},
        {"Quote", "'", 222},
        {"F1", "F1", 112},
        {"F12", "F12", 123},
        {"F24", "F24", 135},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(virtualKeyOf(c.code, c.key), c.expected) << c.code << " / " << c.key;
    }
}

// With Num Lock off the keypad's digit keys say what they do in the key name.
TEST(WebKeys, KeypadWithNumLockOffGivesNavigationKeys) {
    const KeyCase cases[] = {
        {"Numpad0", "Insert", 45},     {"Numpad1", "End", 35},         {"Numpad2", "ArrowDown", 40},
        {"Numpad3", "PageDown", 34},   {"Numpad4", "ArrowLeft", 37},   {"Numpad5", "Clear", 12},
        {"Numpad6", "ArrowRight", 39}, {"Numpad7", "Home", 36},        {"Numpad8", "ArrowUp", 38},
        {"Numpad9", "PageUp", 33},     {"Numpad5", "Unidentified", 0},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(virtualKeyOf(c.code, c.key), c.expected) << c.code << " / " << c.key;
    }
}

// Soft keyboards and some external ones name no physical key: the drill's keys are then
// read from the key's name, and anything else still gives nothing.
TEST(WebKeys, KeysWithoutAKnownCodeAreReadByName) {
    const KeyCase cases[] = {
        {"", "0", KeyCode::Digit0},
        {"", "7", KeyCode::Digit0 + 7},
        {"Unidentified", "9", KeyCode::Digit0 + 9},
        {"", "Enter", KeyCode::Enter},
        {"", "Backspace", KeyCode::Backspace},
        {"", " ", KeyCode::Space},
        {"", "Spacebar", KeyCode::Space},
        {"", "Escape", KeyCode::Escape},
        {"Unidentified", "Esc", KeyCode::Escape},
        {"Lang1", "4", KeyCode::Digit0 + 4},
        {"", "Unidentified", 0},
        {"", "Process", 0},
        {"", "a", 0},
        {"", "12", 0},
        {"", "", 0},
        {"", "enter", 0},
        // A physical key keeps its place: AZERTY's "&" key is still the digit 1.
        {"Digit1", "&", KeyCode::Digit0 + 1},
        {"KeyQ", "7", KeyCode::LetterA + 16},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(virtualKeyOf(c.code, c.key), c.expected) << c.code << " / " << c.key;
    }
}

TEST(WebKeys, NamesWithoutACodeGiveNothing) {
    const char* names[] = {"",      "Digit",  "DigitA",   "Digit10", "Key",         "Keya",
                           "KeyAB", "Numpad", "Numpad10", "F",       "F0",          "F25",
                           "Fn",    "F1x",    "Lang1",    "digit1",  "Unidentified"};
    for (const char* name : names) {
        EXPECT_EQ(virtualKeyOf(name, "Unidentified"), 0) << name;
    }
}

// Whatever a browser sends, the answer is 0 or a virtual-key code (1 to 254), and a
// digit key's answer never depends on the key name.
TEST(WebKeys, RandomNamesStayInRange) {
    std::mt19937 random(1409);
    const std::string alphabet = "DigtKeyNumpadF0123456789ABCZaz";
    for (int round = 0; round < 20000; ++round) {
        std::string code;
        const int length = static_cast<int>(random() % 10);
        for (int at = 0; at < length; ++at) {
            code += alphabet[random() % alphabet.size()];
        }
        const int answer = virtualKeyOf(code, "x");
        EXPECT_TRUE(answer == 0 || (answer >= 1 && answer <= 254)) << code;
        if (code.size() == 6 && code.rfind("Digit", 0) == 0) {
            EXPECT_EQ(answer, virtualKeyOf(code, "Home")) << code;
        }
    }
}

// The numbers the page's input kinds cross as, read from WebInput.js's frozen object,
// are the program's WebInputKind: a kind added or renumbered on one side only fails here.
TEST(WebKeys, ThePagesInputKindsAreTheProgramsNumbers) {
    std::ifstream in("src/platform/web/WebInput.js");
    const std::string script{std::istreambuf_iterator<char>(in), {}};
    const std::size_t start = script.find("web.inputKinds = Object.freeze({");
    ASSERT_NE(start, std::string::npos);
    const std::string object = script.substr(start, script.find("})", start) - start);
    std::map<std::string, int> page;
    const std::regex entry("'([a-z-]+)': ([0-9]+)");
    for (auto at = std::sregex_iterator(object.begin(), object.end(), entry);
         at != std::sregex_iterator(); ++at) {
        page[(*at)[1]] = std::stoi((*at)[2]);
    }
    const std::map<std::string, int> program = {
        {"key", static_cast<int>(WebInputKind::Key)},
        {"left-down", static_cast<int>(WebInputKind::LeftDown)},
        {"left-up", static_cast<int>(WebInputKind::LeftUp)},
        {"right-down", static_cast<int>(WebInputKind::RightDown)},
        {"wheel", static_cast<int>(WebInputKind::Wheel)},
    };
    EXPECT_EQ(page, program);
}

}  // namespace
