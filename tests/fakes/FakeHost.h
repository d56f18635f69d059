// A scripted stand-in for the window system: a message queue the test fills, a
// counter the test moves (sleeping moves it too), a cursor the test places, and
// recorded presents, message boxes, dialogs and documents opened.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeDrawing.h"
#include "platform/Host.h"

struct RecordedMessageBox {
    MessageBoxOwner owner = MessageBoxOwner::None;
    std::u16string text;
    std::u16string caption;
    MessageBoxButtons buttons = MessageBoxButtons::Ok;
};

class FakeHost : public Host {
public:
    void createMainWindow(const WindowDescription& description, MessageHandler& handler) override;
    void destroyMainWindow() override;
    std::unique_ptr<BackBuffer> createBackBuffer(int width, int height) override;
    void present(BackBuffer& buffer) override;
    bool windowPictureLost() override { return std::exchange(pictureLost, false); }
    bool peekMessage(Message& message) override;
    void postQuit(int exitCode) override;
    PixelPoint cursorPosition() override { return cursorRead = cursor; }
    void captureMouse() override { captured = true; }
    void releaseMouse() override { captured = false; }
    bool performanceFrequency(std::int64_t& countsPerSecond) override;
    std::int64_t performanceCounter() override;
    void sleepMilliseconds(int milliseconds) override;
    void waitForMessage() override;
    MessageBoxAnswer messageBox(MessageBoxOwner owner, const std::u16string& text,
                                const std::u16string& caption, MessageBoxButtons buttons) override;
    void runDialog(DialogId dialog, DialogProcedure& procedure) override;
    void openDocument(const std::string& relativePath) override;
    void publishAccessibleText(const AccessibleText& text) override { published.push_back(text); }
    void announce(const std::u16string& text) override { announced.push_back(text); }

    // Scripting helpers.
    void pushMessage(MessageKind kind);
    void pushKey(std::uint32_t keyCode);
    void pushWheel(int delta);
    void advanceSeconds(double seconds);

    // Counter: 1,000,000 counts a second unless hasCounter is false.
    bool hasCounter = true;
    std::int64_t frequency = 1000000;
    std::int64_t counter = 0;
    std::int64_t countsPerPeek = 0;  // time that handling one message takes
    std::int64_t hiddenCounts = 0;   // time a faulty wait hid, shown at the next peek
    std::deque<Message> queue;
    PixelPoint cursor;
    PixelPoint cursorRead;  // where the loop last saw the cursor
    bool captured = false;
    bool windowExists = false;
    WindowDescription window;
    int createMessagesSent = 0;
    std::vector<std::int64_t> presentCounts;  // counter value at every present
    bool pictureLost = false;                 // reported once by windowPictureLost, then cleared
    // Runs after every present, with the number of frames presented so far.
    std::function<void(int)> onPresent;
    // Runs as the loop sleeps after each frame, with the number of frames so far,
    // whether or not the frame was presented.
    std::function<void(int)> onFrameEnd;
    int framesRun = 0;
    std::size_t frameLimit = 10000;
    static constexpr int runawayExitCode = -99;
    int sleptMilliseconds = 0;
    // Waiting. Without waitsForMessages a wait returns at once, as a host that cannot
    // wait does. With it, a wait lets the counter run on in frames of 20 ms (each one
    // counted and reported by onFrameEnd, as a sleep is) until a message waits, the
    // cursor moved over the window or off it, or the picture was lost.
    bool waitsForMessages = false;
    int waits = 0;
    int framesWaited = 0;  // frames that passed inside waits
    // Faults a test can plant: a wait that the pointer does not end, and one whose time
    // the counter shows only after the loop has read it.
    bool pointerEndsWait = true;
    bool waitHiddenFromCounter = false;
    // Answer for YesNo boxes; OK boxes always answer Ok. The callback, when set, runs
    // while the box is open (for example to move the counter).
    MessageBoxAnswer yesNoAnswer = MessageBoxAnswer::No;
    std::function<void()> whileMessageBoxOpen;
    std::vector<RecordedMessageBox> messageBoxes;
    // Runs while a dialog is open; without it the dialog is only recorded.
    std::function<void(DialogId, DialogProcedure&)> dialogDriver;
    std::vector<DialogId> dialogsRun;
    std::vector<std::string> documentsOpened;
    std::vector<AccessibleText> published;
    std::vector<std::u16string> announced;
    FakeBackBuffer* lastBackBuffer = nullptr;

private:
    void endFrame(int milliseconds);
    bool waitEnded() const;
};
