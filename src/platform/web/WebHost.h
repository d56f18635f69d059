// The web implementation of the window-system side of the platform layer: the page's
// canvas as the main window, its DOM events as the program's messages, the pointer,
// performance.now() as the counter, sleeping by yielding to the browser, HTML dialogs,
// and a new tab for documents.
#pragma once

#include <deque>
#include <memory>
#include <string>

#include "platform/Host.h"

class WebHost : public Host {
public:
    void createMainWindow(const WindowDescription& description, MessageHandler& handler) override;
    void destroyMainWindow() override;
    std::unique_ptr<BackBuffer> createBackBuffer(int width, int height) override;
    void present(BackBuffer& buffer) override;
    bool windowPictureLost() override;
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
    void publishAccessibleText(const AccessibleText& text) override;
    void announce(const std::u16string& text) override;
    void openDocument(const std::string& relativePath) override;
    std::vector<std::string> preferredLanguages() override;
    void languageChanged(const std::string& code) override;
    // The browser's prefers-contrast: more (or a forced-colours mode).
    bool prefersHighContrast() override;

private:
    // Moves the page's waiting input into the queue, so a message posted by the
    // program lands after everything that arrived before it.
    void collectInput();
    void post(const Message& message);

    std::deque<Message> queue;
    bool windowDestroyed = false;
    // The working-out the page shows, above the line typed.
    std::shared_ptr<const std::u16string> publishedLines;
};
