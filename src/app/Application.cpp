// Construction, the main window and the life-cycle messages of the application.
#include "app/Application.h"

#include "features/sound/SoundCues.h"
#include "lesson/LevelFileProblems.h"
#include "lesson/SettingsFile.h"
#include "words/Words.h"

Application::Application(Host& host) : host(host) {
    // The drawing services are installed before this runs, since both panels load
    // pictures and make fonts while they are constructed.
    lessonPanel = std::make_unique<LessonPanel>();
    lessonPanel->systemHighContrast = host.prefersHighContrast();
    lessonPanel->usePalette();
    tutor = std::make_unique<Tutor>(*lessonPanel);
    listenForSound(*lessonPanel);
    menuPanel = std::make_unique<MenuPanel>(75.0f, 75.0f);
    applyLanguage();
    narration = std::make_unique<Narration>(lessonPanel->board);
    lessonPanel->events.listen([this](const LessonEvent& event) { narration->hear(event); });
    // Tells the first question, set up before anyone listened, to every listener.
    attachPracticeRecord();
}

void Application::applyLanguage() {
    const std::string& chosen = lessonPanel->options.language;
    const std::string code =
        chosen.empty() ? words::bestLanguage(host.preferredLanguages()) : chosen;
    if (languageApplied && code == words::currentLanguage()) {
        return;
    }
    languageApplied = true;
    words::useLanguage(code);
    host.languageChanged(words::currentLanguage());
    // The start-up messages about the level file and the teacher's file were put into
    // words before the settings named the language; they are worded again while they
    // wait to be shown.
    if (!lessonPanel->levelFileMessage.empty()) {
        lessonPanel->levelFileMessage =
            levelFileMessageFor(lessonPanel->levelFileReading, lessonPanel->levels);
    }
    if (!lessonPanel->teacherFileMessage.empty()) {
        lessonPanel->teacherFileMessage = teacherFileMessageFor(lessonPanel->teacher);
    }
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
    narration.reset();
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

void Application::publishLessonText() {
    // The narration reads the lesson panel's board: without the panel there is nothing
    // to tell.
    if (!narration || !lessonPanel || windowDestroyed) {
        return;
    }
    Narration::News news = narration->takeNews();
    if (news.text) {
        host.publishAccessibleText(*news.text);
    }
    if (!news.notice.empty()) {
        host.announce(news.notice);
    }
}
