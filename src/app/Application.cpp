// Construction, the main window and the life-cycle messages of the application.
#include "app/Application.h"

#include "lesson/SettingsFile.h"

Application::Application(Host& host) : host(host) {
    // The drawing services are installed before this runs, since both panels load
    // pictures and make fonts while they are constructed.
    lessonPanel = std::make_unique<LessonPanel>();
    lessonPanel->systemHighContrast = host.prefersHighContrast();
    lessonPanel->usePalette();
    tutor = std::make_unique<Tutor>(*lessonPanel);
    menuPanel = std::make_unique<MenuPanel>(75.0f, 75.0f);
    attachPracticeRecord();
}

void Application::attachPracticeRecord() {
    const LessonPanel* panel = lessonPanel.get();
    practiceRecord = std::make_unique<PracticeRecord>(
        [panel] {
            const UserSettings settings = settingsOf(*panel);
            return RecordSettings{settings.displayLotsOf, settings.autoProduct,
                                  settings.autoRemainder, settings.difficulty};
        },
        recordClock());
    lessonPanel->events.listen(
        [record = practiceRecord.get()](const LessonEvent& event) { record->hear(event); });
    lessonPanel->tellQuestionStarted(false);  // the first question, set up before it listened
}

Application::~Application() {
    // At exit: the recording that draws into the back buffer, the back buffer, then the lesson
    // panel, then the command panel.
    frameRecorder.reset();
    backBuffer.reset();
    tutor.reset();
    lessonPanel.reset();
    menuPanel.reset();
}

void Application::createMainWindow() {
    WindowDescription description;
    description.title = u"Bricketing - Quillmoor";
    description.x = 100;
    description.y = 100;
    description.width = width;
    description.height = height;
    host.createMainWindow(description, *this);
}

void Application::handleMessage(const Message& message) {
    switch (message.kind) {
        case MessageKind::Create:
            backBuffer = host.createBackBuffer(width, height);
            frameRecorder = std::make_unique<FrameRecorder>(*backBuffer);
            break;
        case MessageKind::Destroy:
            windowDestroyed = true;
            host.postQuit(0);
            break;
        case MessageKind::Quit:
        case MessageKind::Other:
            break;
        default:
            if (!windowDestroyed) {
                routeInput(message);
                publishLessonText();
            }
            break;
    }
}
