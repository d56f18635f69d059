// The stored dialogs and the message boxes as HTML dialogs on the page. Each call
// returns only when the pupil has closed the dialog: it waits by yielding to the
// browser (Asyncify), so the page stays live while the program's call stays modal.
#pragma once

#include <string>

#include "platform/Host.h"

MessageBoxAnswer runWebMessageBox(const std::u16string& text, const std::u16string& caption,
                                  MessageBoxButtons buttons);
void runWebDialog(DialogId dialog, DialogProcedure& procedure);
