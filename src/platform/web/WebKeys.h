// Browser keys to Windows virtual-key codes, by the physical key (KeyboardEvent.code)
// where there is one, so that the digits and the keypad give the codes the program
// expects whatever the keyboard layout.
#pragma once

#include <string_view>

// The virtual-key code of a key event, or 0 for a key the program has no code for.
// `key` (KeyboardEvent.key) tells the keypad's digit keys with Num Lock off, which give
// the navigation codes, as on the desktop; and when `code` is empty or names no key
// known here (soft keyboards, some external ones), the digits, Enter, Backspace, Space
// and Escape are read from `key` alone.
int virtualKeyOf(std::string_view code, std::string_view key);
