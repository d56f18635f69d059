// The one application object: it owns the back buffer and both panels, runs the frame
// loop, routes the main window's messages and opens the modal dialogs.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "board/LessonDescription.h"
#include "features/record/PracticeRecord.h"
#include "features/tutor/Tutor.h"
#include "lesson/LessonPanel.h"
#include "menu/MenuPanel.h"
#include "platform/Drawing.h"
#include "platform/FrameRecorder.h"
#include "platform/Host.h"

class Application : public MessageHandler {
public:
    // Makes the panels; the drawing services must already be installed. The window
    // comes later, from createMainWindow.
    explicit Application(Host& host);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up and life cycle (Application.cpp).
    void createMainWindow();
    void handleMessage(const Message& message) override;
    void attachPracticeRecord();

    // Frame loop and timing (FrameLoop.cpp).
    int runFrameLoop();
    void updateFrame(double elapsedSeconds);
    bool drawFrame();  // true when the frame was presented
    bool nothingMoves() const;
    std::int64_t waitForMessage();  // the counts waited
    Point pointerPosition();
    void beginModalPause();
    void endModalPause();

    // Input routing (InputRouting.cpp).
    void routeInput(const Message& message);
    void onMouseDown(Point point);
    void onMouseUp();
    void runCommand(int command);

    // The lesson in words for screen readers (LessonNarration.cpp): published when it
    // changes, with a notice of each change.
    void publishLessonText();

    // Modal dialogs (Dialogs.cpp).
    void runDialog(DialogId dialog);
    bool confirmExit();
    void showStartUpMessage();

    Host& host;
    int width = 800;
    int height = 600;
    std::unique_ptr<BackBuffer> backBuffer;  // made when the window is created
    // The panels draw into this recording of the frame; it reaches the back buffer and
    // the window only when it differs from the frame the window already shows.
    std::unique_ptr<FrameRecorder> frameRecorder;
    // Draws and presents every frame, changed or not, as a reference to compare with.
    bool presentEveryFrame = false;
    std::unique_ptr<LessonPanel> lessonPanel;
    std::unique_ptr<MenuPanel> menuPanel;
    // Words for a wrong entry, praise and the key-facts box; listens to the lesson panel.
    std::unique_ptr<Tutor> tutor;
    // Listens to the lesson panel's events and keeps the pupil's practice record.
    std::unique_ptr<PracticeRecord> practiceRecord;
    std::int64_t modalStartCount = 0;
    double secondsPerCount = 0.0;
    double pausedSeconds = 0.0;  // the latest modal period, consumed by the next frame
    // Set once the window is going or gone: input still waiting in the queue then does
    // nothing, so a second Escape cannot ask again about a window that no longer exists.
    bool windowDestroyed = false;
    // What the window last told the accessibility service, and from which moment.
    AccessibleText publishedText;
    std::optional<LessonMoment> publishedMoment;
};
