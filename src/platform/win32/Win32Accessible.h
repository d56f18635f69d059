// The main window as Windows screen readers see it: the client area's accessible
// object (IAccessible, handed out on WM_GETOBJECT) is named by the question, its value
// is the line being typed, its description the whole working-out and its help text the
// latest notice; the matching WinEvents report each change.
#pragma once

#include <memory>
#include <string>

#include "platform/win32/Win32Windows.h"

// What the window tells. Shared with the accessible objects handed out, which a
// reader may keep after the window is gone.
struct Win32WindowWords {
    AccessibleText text;
    std::u16string announcement;
};

// The answer to WM_GETOBJECT when it asks for the client area; 0 otherwise, and then
// the message goes on to DefWindowProcW as every other does.
LRESULT answerGetObject(HWND window, WPARAM wParam, LPARAM lParam,
                        const std::shared_ptr<const Win32WindowWords>& words);

// Stores the words and sends the WinEvents of what changed.
void publishWindowWords(HWND window, Win32WindowWords& words, const AccessibleText& text);
void announceInWindow(HWND window, Win32WindowWords& words, const std::u16string& notice);
