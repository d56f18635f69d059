// Qt construction of the program's stored dialogs and of its message boxes. The
// dialogs are built from the neutral templates and driven by the neutral dialog
// procedures; the host calls these for its modal interactions.
#pragma once

#include <string>

#include "platform/Host.h"

class QWidget;

// A message box without an icon: OK alone, or Yes and No with Yes the default. An
// empty caption shows the application's name. Returns the button chosen; closing a
// Yes/No box any other way answers No.
MessageBoxAnswer showQtMessageBox(QWidget* owner, const std::u16string& text,
                                  const std::u16string& caption, MessageBoxButtons buttons);

// Builds the stored dialog, lets the procedure set it up and runs it modally until the
// procedure ends it. Enter sends the default button's command (a focused push button
// sends its own), Escape and the close box send Cancel (2).
void runQtDialog(QWidget* owner, DialogId dialog, DialogProcedure& procedure);
