// Keeps the accessibility service's view of the window in step with the lesson: the
// words are built again only when something they are made from changed, published
// when they differ, and each change is announced once.
#include "app/Application.h"

void Application::publishLessonText() {
    if (!lessonPanel || windowDestroyed) {
        return;
    }
    const WorkingBoard& board = lessonPanel->board;
    LessonMoment moment = momentOf(board);
    if (publishedMoment && *publishedMoment == moment) {
        return;
    }
    const AccessibleText text = describeLesson(board);
    if (!publishedMoment || text != publishedText) {
        publishedText = text;
        host.publishAccessibleText(text);
    }
    if (publishedMoment) {
        const std::u16string notice = announcementOf(*publishedMoment, board);
        if (!notice.empty()) {
            host.announce(notice);
        }
    }
    publishedMoment = std::move(moment);
}
