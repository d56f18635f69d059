// The Qt 6 implementation of the window-system side of the platform layer: the main
// window, whose Qt events become the program's messages, the cursor, the monotonic
// counter, sleeping, message boxes, dialogs and opening documents.
#pragma once

#include <QElapsedTimer>
#include <deque>
#include <memory>

#include "platform/Host.h"
#include "platform/qt/QtDrawing.h"
#include "platform/qt/QtFrameLog.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtPointer.h"

class QtHost : public Host {
public:
    explicit QtHost(QtDrawingServices& drawing);
    ~QtHost() override;

    void createMainWindow(const WindowDescription& description, MessageHandler& handler) override;
    void destroyMainWindow() override;
    std::unique_ptr<BackBuffer> createBackBuffer(int width, int height) override;
    void present(BackBuffer& buffer) override;
    bool peekMessage(Message& message) override;
    void postQuit(int exitCode) override;
    PixelPoint cursorPosition() override;
    void captureMouse() override;
    void releaseMouse() override;
    bool performanceFrequency(std::int64_t& countsPerSecond) override;
    std::int64_t performanceCounter() override;
    void sleepMilliseconds(int milliseconds) override;
    void waitForMessage() override;
    MessageBoxAnswer messageBox(MessageBoxOwner owner, const std::u16string& text,
                                const std::u16string& caption, MessageBoxButtons buttons) override;
    void runDialog(DialogId dialog, DialogProcedure& procedure) override;
    void openDocument(const std::string& relativePath) override;
    std::vector<std::string> preferredLanguages() override;
    // The desktop's languages, most wanted first; needs no window nor display.
    static std::vector<std::string> systemLanguages();
    void publishAccessibleText(const AccessibleText& text) override;
    void announce(const std::u16string& text) override;

    // Called by the main window as Qt delivers its events. Input is dropped while a
    // modal window is open.
    void post(const Message& message);
    void windowClosed();
    // The window was painted by the window system's request or moved to another screen:
    // a wait for the next message ends.
    void windowChanged() { changedWhileWaiting = true; }
    const QtPointer& pointerTracker() const { return pointer; }

    QtMainWindow* mainWindow() { return window.get(); }

private:
    // Around every modal call: input queued before it opened belongs to it or to
    // nobody, and is never handed to the main window after it closes.
    void enterModal();
    void leaveModal();
    void dropWaitingInput();

    QtDrawingServices& drawing;
    std::unique_ptr<QtMainWindow> window;
    bool windowDestroyed = false;
    std::deque<Message> queue;
    int modalDepth = 0;           // modal calls under way, nested ones included
    bool leftButtonHeld = false;  // the program was handed a left press, not yet its release
    bool changedWhileWaiting = false;
    QElapsedTimer clock;
    QtFrameLog frameLog;
    QtPointer pointer;
};
