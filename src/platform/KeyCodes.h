// Windows virtual-key codes: the one key numbering above the platform layer. Backends
// translate their own key events into these.
#pragma once

namespace KeyCode {
constexpr int Backspace = 8;
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Digit0 = 48;   // '0' to '9' on the main keyboard are 48 to 57
constexpr int LetterA = 65;  // 'A' to 'Z' are 65 to 90
constexpr int Numpad0 = 96;  // the keypad's digits are 96 to 105
}  // namespace KeyCode
