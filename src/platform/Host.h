// The window-system side of the platform layer: the main window and its messages, the
// cursor, the high-resolution counter, sleeping, message boxes, modal dialogs and
// opening a document. The application drives everything through this interface; each
// backend (Qt, Win32, the web) implements it, and the tests script it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/DialogId.h"
#include "platform/Drawing.h"
#include "platform/Geometry.h"

enum class MessageKind {
    Create,   // the main window is being made; sent during createMainWindow
    Destroy,  // the main window has gone
    Quit,     // ends the frame loop; exitCode carries the process's exit code
    KeyDown,  // keyCode is a Windows virtual-key code
    LeftButtonDown,
    LeftButtonUp,
    RightButtonDown,
    MouseWheel,  // wheelDelta: signed, positive when turned away from the user
    Other,       // anything the program does not act on
};

struct Message {
    MessageKind kind = MessageKind::Other;
    std::uint32_t keyCode = 0;
    int wheelDelta = 0;
    int exitCode = 0;
};

// Receives messages delivered outside the frame loop's own peeking (the creation
// message, which arrives while the window is being made).
class MessageHandler {
public:
    virtual ~MessageHandler() = default;
    virtual void handleMessage(const Message& message) = 0;
};

struct WindowDescription {
    std::u16string title;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class MessageBoxOwner { None, MainWindow };
enum class MessageBoxButtons { Ok, YesNo };  // YesNo: Yes is the default button
enum class MessageBoxAnswer { Ok, Yes, No };

// An open modal dialog as its procedure sees it. Controls are named by their ids in
// the dialog's template.
class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual std::u16string controlText(int controlId) = 0;
    // On a picture control the text is written over the picture's lower right part,
    // left of where the About dialog's OK button stands.
    virtual void setControlText(int controlId, const std::u16string& text) = 0;
    virtual bool isChecked(int controlId) = 0;
    virtual void setChecked(int controlId, bool checked) = 0;
    // Checks checkedId and clears every other radio button from firstId to lastId.
    virtual void checkRadioButton(int firstId, int lastId, int checkedId) = 0;
    // A disabled control is shown greyed out and cannot be changed or focused.
    virtual void setEnabled(int controlId, bool enabled) = 0;
    // A drop-down list's choices, in order, and which one is selected (-1: none).
    virtual void setListItems(int controlId, const std::vector<std::u16string>& items) = 0;
    virtual void selectListItem(int controlId, int index) = 0;
    virtual int selectedListItem(int controlId) = 0;
    // The id of the control that has the focus, or 0 when none of the dialog's has.
    virtual int focusedControl() = 0;
    virtual void setFocus(int controlId) = 0;
    // Moves the focus to the next tab stop once the current command has been handled.
    virtual void postNextControl() = 0;
    // A message box owned by the dialog.
    virtual MessageBoxAnswer messageBox(const std::u16string& text, const std::u16string& caption,
                                        MessageBoxButtons buttons) = 0;
    // Closes the dialog once the current command has been handled.
    virtual void end(int result) = 0;
};

// What a modal dialog does, written once above the platform layer.
class DialogProcedure {
public:
    virtual ~DialogProcedure() = default;
    // True when the procedure placed the focus itself.
    virtual bool initDialog(DialogHost& dialog) = 0;
    // A button press, or Enter (id 1) and Escape or the close box (id 2). True when
    // handled.
    virtual bool command(DialogHost& dialog, int commandId) = 0;
};

// What a screen reader can learn of the window, in words: written by the program above
// the platform layer from what the picture shows, published by each backend through
// its own accessibility service.
//
// The whole working-out a reader is told (the description) is the lines above the line
// being typed followed by that line, the value. The lines are shared, not copied: they
// change only when a step is completed or taken back, so a key that changes only the
// line being typed hands the same lines on, and a backend sees that they are the same by
// comparing pointers. The description is put together only when a reader asks for it.
struct AccessibleText {
    std::u16string name;   // short: the question ("100 ÷ 7"), or the title without one
    std::u16string value;  // the line being typed and what it asks for, or the answer
    // The working-out above that line, one line of words per line, each ending in a line
    // break; null for none.
    std::shared_ptr<const std::u16string> lines;

    std::u16string description() const { return lines ? *lines + value : value; }
    const std::u16string& linesText() const {
        static const std::u16string none;
        return lines ? *lines : none;
    }
    // The same words, whether or not the lines are the same copy.
    bool operator==(const AccessibleText& other) const {
        return name == other.name && value == other.value &&
               (lines == other.lines || linesText() == other.linesText());
    }
};

class Host {
public:
    virtual ~Host() = default;

    // Window. createMainWindow sends the Create message to handler before it returns.
    virtual void createMainWindow(const WindowDescription& description,
                                  MessageHandler& handler) = 0;
    // Removes the window; a Destroy message follows through peekMessage.
    virtual void destroyMainWindow() = 0;
    virtual std::unique_ptr<BackBuffer> createBackBuffer(int width, int height) = 0;
    // Copies the whole buffer to the window in one go.
    virtual void present(BackBuffer& buffer) = 0;
    // True, once, after the window lost the picture last presented (its surface was
    // made anew, for instance at another scale), so the next frame must be drawn and
    // presented even if it shows the same. A window that can paint itself again from
    // the back buffer never loses it.
    virtual bool windowPictureLost() { return false; }

    // Messages. peekMessage takes the oldest waiting message, if any, without waiting.
    virtual bool peekMessage(Message& message) = 0;
    virtual void postQuit(int exitCode) = 0;

    // Pointer. Client-area pixels of the main window; not clamped to it.
    virtual PixelPoint cursorPosition() = 0;
    virtual void captureMouse() = 0;
    virtual void releaseMouse() = 0;

    // Time. performanceFrequency is false when there is no high-resolution counter.
    virtual bool performanceFrequency(std::int64_t& countsPerSecond) = 0;
    virtual std::int64_t performanceCounter() = 0;
    virtual void sleepMilliseconds(int milliseconds) = 0;
    // Called after a frame's sleep when that frame showed nothing new and nothing moves:
    // returns once a message waits or something may change what the window should show
    // (the pointer moving over the window or leaving it, the window uncovered or at
    // another scale, the page shown again). A host that cannot wait returns at once,
    // and the loop goes on at its usual pace.
    virtual void waitForMessage() {}

    // Modal interactions. An empty caption means the system's default caption.
    virtual MessageBoxAnswer messageBox(MessageBoxOwner owner, const std::u16string& text,
                                        const std::u16string& caption,
                                        MessageBoxButtons buttons) = 0;
    virtual void runDialog(DialogId dialog, DialogProcedure& procedure) = 0;

    // Accessibility. publishAccessibleText gives the window's text whenever it changes;
    // announce asks for a short notice of a change to be spoken once. A backend without
    // an accessibility service ignores both.
    virtual void publishAccessibleText(const AccessibleText& /*text*/) {}
    virtual void announce(const std::u16string& /*text*/) {}

    // Whether the system asks for high contrast (Windows' high-contrast mode, the
    // browser's prefers-contrast: more). Followed while the pupil has not chosen.
    virtual bool prefersHighContrast() { return false; }

    // Opens a document (relative to the working directory) in the user's viewer.
    // A failure shows nothing.
    virtual void openDocument(const std::string& relativePath) = 0;

    // The languages the pupil's system asks for, most wanted first, as it names them
    // ("nl-NL", "de_DE.UTF-8"); empty when it says nothing.
    virtual std::vector<std::string> preferredLanguages() { return {}; }
    // The words lookup now answers in this language; a backend with texts of its own
    // (the web page's controls) shows them again.
    virtual void languageChanged(const std::string& /*code*/) {}
};
