// Translation of Qt's key events into Windows virtual-key codes, the one key numbering
// the program knows.
#pragma once

#include <Qt>

// The virtual-key code for a Qt key, or 0 when the key has none.
int toVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
