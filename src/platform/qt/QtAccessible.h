// The main window as screen readers see it through the platform's accessibility
// service (AT-SPI on Linux): a window named by the question, described by the whole
// working-out, with text children: the line being typed and the latest notice, whose
// name changes are reported as they happen, and the latest notice again as inserted
// text, which is what Orca speaks (QtAccessible.cpp says why).
#pragma once

#include <QString>
#include <string>

#include "platform/Host.h"

class QWidget;

// What the window tells, kept beside it and read by its accessible interface.
struct QtWindowWords {
    AccessibleText text;
    QString announcement;
};

// Gives windows that keep words (QtMainWindow) their accessible interface. Once, before
// the first such window is made.
void installWindowAccessibility();

// Stores the words and reports what changed of them.
void publishWindowWords(QWidget& window, QtWindowWords& words, const AccessibleText& text);
void announceInWindow(QWidget& window, QtWindowWords& words, const std::u16string& notice);
