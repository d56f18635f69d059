// Windows virtual-key codes: the one key numbering above the platform layer. Backends
// translate their own key events into these.
#pragma once

namespace KeyCode {
constexpr int Backspace = 8;
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Home = 36;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Digit0 = 48;   // '0' to '9' on the main keyboard are 48 to 57
constexpr int LetterA = 65;  // 'A' to 'Z' are 65 to 90
constexpr int Numpad0 = 96;  // the keypad's digits are 96 to 105
constexpr int F1 = 112;      // F1 to F12 are 112 to 123
constexpr int F2 = 113;
constexpr int F3 = 114;
constexpr int F4 = 115;
constexpr int F5 = 116;
constexpr int F6 = 117;
}  // namespace KeyCode
