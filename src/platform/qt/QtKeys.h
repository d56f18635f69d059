// Translation of Qt's key events into Windows virtual-key codes, the one key numbering
// the program knows. Where the window system reports which physical key was pressed,
// the code names that key, whatever the keyboard layout and Shift make of it.
#pragma once

#include <Qt>
#include <cstdint>
#include <optional>

// The code Windows gives a key that has no virtual key of its own. It is no digit, so
// the board takes it as a key press that only clears an error and shows the entry row.
constexpr int unmappedVirtualKey = 0xFF;

// The virtual-key code for a Qt key, or 0 when the key has none. Used for key events
// that carry no scan code (synthetic events, platforms with other numberings).
int toVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

// The virtual-key code of the physical key with this X11/xkb key code (the Linux
// evdev code plus 8, as X11 and Wayland both number keys), or 0 for a key not in the
// table. Keypad keys give their digit only when qtKey says NumLock made them digits;
// otherwise the navigation key they stand for, as on Windows.
int virtualKeyOfScanCode(std::uint32_t xkbKeyCode, int qtKey);

// What a key press becomes for the program: a virtual-key code to deliver, or nothing
// for a system key (any key with Alt but without Ctrl, and F10), which Windows keeps
// from the window. A key with no known code is still delivered, as unmappedVirtualKey.
// xkbKeyCode is 0 when the event carries no usable scan code.
std::optional<int> keyDownCode(int qtKey, Qt::KeyboardModifiers modifiers,
                               std::uint32_t xkbKeyCode);
