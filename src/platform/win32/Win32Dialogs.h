// The stored dialogs on Win32: an in-memory extended dialog template built from the
// program's template table, run with DialogBoxIndirectParamW and driven by the neutral
// dialog procedures; and the program's message boxes.
#pragma once

#include "platform/win32/Win32Windows.h"

#include <string>
#include <vector>

#include "platform/Host.h"
#include "resources/DialogTemplates.h"

// The extended dialog template (DLGTEMPLATEEX and its items) for the table's dialog,
// as 16-bit words ready for DialogBoxIndirectParamW or CreateDialogIndirectParamW.
std::vector<WORD> buildDialogTemplate(const DialogTemplate& dialog);

// The window and extended styles a table control gets in the template.
DWORD controlStyle(const ControlTemplate& control);
DWORD dialogStyle(const DialogTemplate& dialog);
DWORD dialogExtendedStyle(const DialogTemplate& dialog);

// Runs the stored dialog numbered dialogNumber modally over owner until its procedure
// ends it. Pictures are loaded from instance's resources. Nothing happens for a number
// with no template.
void runWin32Dialog(HINSTANCE instance, HWND owner, DialogId dialogNumber,
                    DialogProcedure& procedure);
// The same for a template given whole. A picture whose box in dialog units maps to a
// size other than its bitmap's (at a resolution above 96 DPI, or with a larger font) is
// drawn anew at the box's size; within two pixels it is shown as stored.
void runWin32Dialog(HINSTANCE instance, HWND owner, const DialogTemplate& layout,
                    DialogProcedure& procedure);

// MessageBoxW without an icon: OK alone, or Yes and No with Yes the default. An empty
// caption gives the system's own caption. Closing a Yes/No box otherwise answers No.
MessageBoxAnswer showWin32MessageBox(HWND owner, const std::u16string& text,
                                     const std::u16string& caption, MessageBoxButtons buttons);
