// The main window's accessible interface and its three text children. The children are
// not widgets: they exist only for the accessibility service and are made with the
// window's interface and released with it.
//
// What Orca speaks unasked: Qt 6.4 reports a name change with the object instead of
// the new name, which Orca cannot speak, and Orca ignores the text of labels. It does
// speak text inserted into the object that has the focus (or a child of it) when the
// inserted text is also the selected text. So each notice is inserted, whole and
// selected, into the third child, a paragraph under the focused window.
#include "platform/qt/QtAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <algorithm>
#include <array>

#include "platform/qt/QtDrawing.h"
#include "platform/qt/QtMainWindow.h"

namespace {

enum class WordsPart { CurrentLine, Notice, Spoken };
constexpr std::size_t wordsPartCount = 3;

// One line of words under the window: read-only text, no geometry of its own. The
// spoken notice also offers its text, all of it selected.
class WindowWordsPart : public QAccessibleInterface, public QAccessibleTextInterface {
public:
    WindowWordsPart(QAccessibleInterface& window, const QtWindowWords& words, WordsPart part)
        : windowInterface(window), words(words), part(part) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface && part == WordsPart::Spoken) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return nullptr;
    }

    bool isValid() const override { return windowInterface.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return windowInterface.window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return &windowInterface; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        // The spoken notice has no name: its text is what it says.
        if (kind != QAccessible::Name || part == WordsPart::Spoken) {
            return {};
        }
        return part == WordsPart::CurrentLine ? toQString(words.text.value) : words.announcement;
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return windowInterface.rect(); }
    QAccessible::Role role() const override {
        return part == WordsPart::Spoken ? QAccessible::Paragraph : QAccessible::StaticText;
    }

    // The spoken notice's text, all of it selected.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = selectionIndex == 0 ? characterCount() : 0;
    }
    int selectionCount() const override { return words.announcement.isEmpty() ? 0 : 1; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return characterCount(); }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        const int start = std::clamp(startOffset, 0, characterCount());
        const int end =
            endOffset < 0 ? characterCount() : std::clamp(endOffset, start, characterCount());
        return words.announcement.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(words.announcement.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = offset;
        *endOffset = offset;
        return {};
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }

private:
    QAccessibleInterface& windowInterface;
    const QtWindowWords& words;
    WordsPart part;
};

// The window: its name is the question, its value the line being typed, its
// description the whole working-out.
class WindowAccessible : public QAccessibleWidget {
public:
    WindowAccessible(QtMainWindow& window)
        : QAccessibleWidget(&window, QAccessible::Window), words(window.words) {
        for (std::size_t index = 0; index < parts.size(); ++index) {
            parts[index] = new WindowWordsPart(*this, words, static_cast<WordsPart>(index));
            QAccessible::registerAccessibleInterface(parts[index]);
        }
    }
    ~WindowAccessible() override {
        for (QAccessibleInterface* part : parts) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(part));
        }
    }
    WindowAccessible(const WindowAccessible&) = delete;
    WindowAccessible& operator=(const WindowAccessible&) = delete;

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return words.text.name.empty() ? QAccessibleWidget::text(kind)
                                               : toQString(words.text.name);
            case QAccessible::Description:
                return toQString(words.text.description());
            case QAccessible::Value:
                return toQString(words.text.value);
            default:
                return QAccessibleWidget::text(kind);
        }
    }
    int childCount() const override { return static_cast<int>(parts.size()); }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? parts[static_cast<std::size_t>(index)]
                                                  : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t index = 0; index < parts.size(); ++index) {
            if (parts[index] == child) {
                return static_cast<int>(index);
            }
        }
        return -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

private:
    const QtWindowWords& words;
    std::array<QAccessibleInterface*, wordsPartCount> parts{};
};

QAccessibleInterface* windowInterfaceFor(const QString&, QObject* object) {
    auto* window = qobject_cast<QWidget*>(object);
    auto* mainWindow = dynamic_cast<QtMainWindow*>(window);
    return mainWindow ? new WindowAccessible(*mainWindow) : nullptr;
}

void report(QWidget& window, QAccessible::Event change) {
    QAccessibleEvent event(&window, change);
    QAccessible::updateAccessibility(&event);
}

void reportPart(QWidget& window, WordsPart part) {
    QAccessibleInterface* windowInterface = QAccessible::queryAccessibleInterface(&window);
    if (!windowInterface) {
        return;
    }
    QAccessibleInterface* child = windowInterface->child(static_cast<int>(part));
    if (!child) {
        return;
    }
    QAccessibleEvent event(child, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

void installWindowAccessibility() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(windowInterfaceFor);
        installed = true;
    }
}

// The description is the lines and the value: it changed when either did. The lines
// are read only when they are another copy, which they are only after a step.
void publishWindowWords(QWidget& window, QtWindowWords& words, const AccessibleText& text) {
    const bool nameChanged = words.text.name != text.name;
    const bool valueChanged = words.text.value != text.value;
    const bool linesChanged =
        words.text.lines != text.lines && words.text.linesText() != text.linesText();
    words.text = text;
    if (nameChanged) {
        report(window, QAccessible::NameChanged);
    }
    if (valueChanged || linesChanged) {
        report(window, QAccessible::DescriptionChanged);
    }
    if (valueChanged) {
        reportPart(window, WordsPart::CurrentLine);
    }
}

void announceInWindow(QWidget& window, QtWindowWords& words, const std::u16string& notice) {
    words.announcement = toQString(notice);
    reportPart(window, WordsPart::Notice);
    QAccessibleInterface* windowInterface = QAccessible::queryAccessibleInterface(&window);
    QAccessibleInterface* spoken =
        windowInterface ? windowInterface->child(static_cast<int>(WordsPart::Spoken)) : nullptr;
    if (spoken) {
        QAccessibleTextInsertEvent event(spoken, 0, words.announcement);
        QAccessible::updateAccessibility(&event);
    }
}
